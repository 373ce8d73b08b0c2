#include "tools/gen_messages/SampleTexts.h"

#include <initializer_list>

namespace {

QStringList fromUtf8(std::initializer_list<const char*> texts)
{
    QStringList list;
    list.reserve(int(texts.size()));
    for (const char* text : texts)
        list.append(QString::fromUtf8(text));
    return list;
}

const QStringList& englishSentences()
{
    static const QStringList list = fromUtf8({
        "Are you still coming tonight?",
        "I'm running about ten minutes late, sorry!",
        "Can you pick up some milk on the way home?",
        "Happy birthday! Hope you have a brilliant day.",
        "The meeting has been moved to 3pm tomorrow.",
        "Did you see the match last night? What a finish.",
        "I left my keys at yours, I think. Could you check the kitchen table?",
        "Just landed. Will call you once I get through passport control.",
        "Thanks again for dinner, it was lovely to catch up.",
        "Don't forget the dentist appointment on Thursday at 9:30.",
        "The train is delayed again. Probably won't be home before eight.",
        "Could you send me the address? My phone lost the map.",
        "Mum says hi and asks when you're visiting next.",
        "I'll be outside in five minutes.",
        "Let me know when you're free this weekend.",
        "The parcel arrived, thanks so much!",
        "We're at the usual table near the window.",
        "Can we push our call to Monday? Something came up.",
        "Remember to bring the charger, mine is broken.",
        "Good luck with the interview today, you'll smash it.",
        "It's pouring down here. Bring an umbrella.",
        "I've booked the tickets for Saturday, row F.",
        "How did the exam go?",
        "The kids are finally asleep.",
        "Could you water the plants while we're away?",
        "I found that recipe you asked about, sending it later.",
        "Traffic is terrible on the M25, taking the long way round.",
        "Just finished work. Fancy a drink?",
        "The boiler engineer is coming between 8 and 12.",
        "Sorry I missed your call, I was in a meeting.",
        "Your table is booked for 7:45 under your name.",
        "We need to talk about the holiday plans at some point.",
        "Grabbing coffee, want anything?",
        "That photo is hilarious, where was it taken?",
        "I'll transfer the money for the concert tonight.",
        "Are we still on for tennis on Sunday morning?",
        "The heating is broken again, the landlord says Friday.",
        "Can you believe it's already December?",
        "Leaving now, see you soon.",
        "Please call me back when you get this, it's about Dad.",
        "Just saw the news, are you all okay over there?",
        "The shop closes at six today, so hurry up.",
        "I think I left my umbrella in your car.",
        "Congratulations on the new job! So proud of you.",
        "Don't wait for me, start eating.",
        "Who's bringing the dessert on Sunday?",
    });
    return list;
}

const QStringList& germanSentences()
{
    static const QStringList list = fromUtf8({
        "Kommst du heute Abend noch vorbei?",
        "Ich verspäte mich um zehn Minuten, tut mir leid.",
        "Kannst du auf dem Heimweg Brötchen mitbringen?",
        "Alles Gute zum Geburtstag! Lass dich schön feiern.",
        "Der Zug hat schon wieder Verspätung.",
        "Wir treffen uns um 19 Uhr vor dem Kino.",
        "Hast du meine Schlüssel gesehen? Ich finde sie nirgends.",
        "Vielen Dank für das schöne Wochenende!",
        "Die Besprechung ist auf morgen früh verschoben.",
        "Schöne Grüße aus München, das Wetter ist herrlich.",
        "Ich bin in fünf Minuten unten.",
        "Können wir am Montag telefonieren?",
        "Das Paket ist angekommen, danke dir!",
        "Vergiss nicht, die Blumen zu gießen.",
        "Wie war die Prüfung? Erzähl mal!",
        "Ich hab Karten für Samstag besorgt, Reihe 12.",
        "Bei uns schüttet es gerade wie aus Eimern.",
        "Frohe Weihnachten und einen guten Rutsch!",
        "Bin gleich da, such schon mal einen Parkplatz.",
        "Grüß deine Eltern ganz herzlich von mir.",
    });
    return list;
}

const QStringList& frenchSentences()
{
    static const QStringList list = fromUtf8({
        "Tu viens toujours ce soir ?",
        "J'ai dix minutes de retard, désolé !",
        "Tu peux acheter du pain en rentrant ?",
        "Joyeux anniversaire ! Passe une excellente journée.",
        "La réunion est reportée à demain matin.",
        "On se retrouve devant la gare à 18h.",
        "Merci encore pour le dîner, c'était délicieux.",
        "Je suis bien arrivée, il fait très beau ici.",
        "N'oublie pas le rendez-vous chez le médecin jeudi.",
        "Le train a encore du retard, je serai là vers 20h.",
        "Tu as vu le match hier soir ? Incroyable !",
        "Je t'appelle dès que je sors du travail.",
        "Le colis est arrivé, merci beaucoup !",
        "On fait quoi ce week-end ?",
        "Bonne chance pour ton entretien, tu vas assurer.",
        "Il pleut des cordes, prends un parapluie.",
        "Bisous à toute la famille.",
        "J'ai réservé une table pour quatre à 20h30.",
        "Tu as oublié ton écharpe chez moi.",
        "Félicitations pour ton nouveau poste !",
    });
    return list;
}

const QStringList& chineseSentences()
{
    static const QStringList list = fromUtf8({
        "你今晚还来吗？",
        "我晚到十分钟，不好意思。",
        "回家的路上能帮我买点牛奶吗？",
        "生日快乐！祝你天天开心。",
        "会议改到明天下午三点了。",
        "我刚下飞机，过了海关给你打电话。",
        "谢谢你的晚餐，太好吃了。",
        "明天早上九点在公司门口见。",
        "包裹收到了，谢谢！",
        "周末有空一起吃饭吗？",
        "外面下大雨了，记得带伞。",
        "票已经订好了，周六晚上七点。",
        "考试怎么样？",
        "我五分钟后到楼下。",
        "妈妈让你周末回家吃饭。",
        "新年快乐，万事如意！",
        "路上堵车，可能要晚一点。",
        "照片拍得真好看，在哪儿拍的？",
        "别忘了给花浇水。",
        "恭喜你找到新工作！",
    });
    return list;
}

const QStringList& russianSentences()
{
    static const QStringList list = fromUtf8({
        "Ты сегодня вечером придёшь?",
        "Опаздываю минут на десять, извини.",
        "Купи, пожалуйста, хлеба по дороге домой.",
        "С днём рождения! Всего самого лучшего.",
        "Встреча перенесена на завтра на три часа.",
        "Я уже приземлился, позвоню после паспортного контроля.",
        "Спасибо за ужин, было очень вкусно.",
        "Посылка пришла, большое спасибо!",
        "Что делаешь на выходных?",
        "На улице сильный дождь, возьми зонт.",
        "Буду через пять минут.",
        "Как прошёл экзамен?",
        "Билеты на субботу купил, седьмой ряд.",
        "Поезд опять задерживается.",
        "Мама передаёт привет.",
        "С Новым годом! Счастья и здоровья.",
        "Не забудь полить цветы.",
        "Перезвони мне, когда сможешь.",
        "Поздравляю с новой работой!",
        "Мы сидим за столиком у окна.",
    });
    return list;
}

const QStringList& arabicSentences()
{
    static const QStringList list = fromUtf8({
        "هل ستأتي الليلة؟",
        "سأتأخر عشر دقائق، آسف.",
        "هل يمكنك شراء الحليب في طريقك إلى البيت؟",
        "عيد ميلاد سعيد! أتمنى لك يوماً رائعاً.",
        "تم تأجيل الاجتماع إلى الغد الساعة الثالثة.",
        "وصلت للتو، سأتصل بك بعد قليل.",
        "شكراً على العشاء، كان لذيذاً جداً.",
        "وصل الطرد، شكراً جزيلاً!",
        "ماذا ستفعل في عطلة نهاية الأسبوع؟",
        "الجو ممطر، خذ معك مظلة.",
        "سأكون عندك بعد خمس دقائق.",
        "كيف كان الامتحان؟",
        "رمضان كريم!",
        "حجزت التذاكر ليوم السبت.",
        "أمي تسلم عليك.",
        "كل عام وأنتم بخير.",
        "لا تنس موعد الطبيب يوم الخميس.",
        "اتصل بي عندما تستطيع.",
        "مبروك على الوظيفة الجديدة!",
        "نحن ننتظرك عند المدخل.",
    });
    return list;
}

} // namespace

namespace SampleTexts {

const QStringList& sentences(SampleLanguage language)
{
    switch (language) {
    case SampleLanguage::German:
        return germanSentences();
    case SampleLanguage::French:
        return frenchSentences();
    case SampleLanguage::Chinese:
        return chineseSentences();
    case SampleLanguage::Russian:
        return russianSentences();
    case SampleLanguage::Arabic:
        return arabicSentences();
    case SampleLanguage::English:
        break;
    }
    return englishSentences();
}

const QStringList& shortReplies(SampleLanguage language)
{
    static const QStringList english =
        fromUtf8({"ok",  "OK",      "Ok 👍",      "Yes",  "No",          "Thanks!",      "Thank you x",
                  "lol", "Sure",    "On my way", "👍",    "Haha",        "See you soon", "Love you ❤",
                  "np",  "Will do", "Done ✅",    "Cool", "Sounds good", "Night!"});
    static const QStringList german = fromUtf8(
        {"ok", "Ja", "Nein", "Danke!", "Bis gleich", "Alles klar", "👍", "Gute Nacht", "Passt", "Klar"});
    static const QStringList french = fromUtf8({"ok", "Oui", "Non", "Merci !", "À tout de suite", "D'accord",
                                                "👍", "Bonne nuit", "Ça marche", "Bisous"});
    static const QStringList chinese =
        fromUtf8({"好的", "好", "谢谢！", "没问题", "马上到", "👍", "晚安", "哈哈", "收到", "嗯"});
    static const QStringList russian = fromUtf8({"ок", "Да", "Нет", "Спасибо!", "Скоро буду", "Хорошо", "👍",
                                                 "Спокойной ночи", "Договорились", "Ага"});
    static const QStringList arabic = fromUtf8(
        {"حسناً", "نعم", "لا", "شكراً!", "في الطريق", "تمام", "👍", "تصبح على خير", "إن شاء الله", "أكيد"});
    switch (language) {
    case SampleLanguage::German:
        return german;
    case SampleLanguage::French:
        return french;
    case SampleLanguage::Chinese:
        return chinese;
    case SampleLanguage::Russian:
        return russian;
    case SampleLanguage::Arabic:
        return arabic;
    case SampleLanguage::English:
        break;
    }
    return english;
}

const QStringList& firstNames(SampleLanguage language)
{
    static const QStringList english = fromUtf8(
        {"Oliver",  "Amelia",  "George",  "Isla",   "Harry",  "Ava",   "Jack",   "Mia",    "Noah",   "Emily",
         "James",   "Sophie",  "William", "Grace",  "Thomas", "Chloe", "Daniel", "Olivia", "Samuel", "Lucy",
         "Michael", "Jessica", "David",   "Hannah", "Ethan",  "Megan", "Ryan",   "Ellie",  "Aaron",  "Zoe"});
    static const QStringList german = fromUtf8({"Jürgen", "Anna", "Lukas", "Lea", "Maximilian", "Sophie",
                                                "Jörg", "Käthe", "Felix", "Marie", "Björn", "Hannah"});
    static const QStringList french = fromUtf8({"Zoé", "Léa", "Hugo", "Chloé", "Théo", "Inès", "Jérôme",
                                                "Manon", "Gaël", "Camille", "Noël", "Élodie"});
    static const QStringList chinese = fromUtf8({"伟", "芳", "娜", "敏", "静", "磊", "洋", "艳", "勇", "杰"});
    static const QStringList russian = fromUtf8(
        {"Иван", "Мария", "Алексей", "Ольга", "Дмитрий", "Анна", "Сергей", "Елена", "Николай", "Татьяна"});
    static const QStringList arabic =
        fromUtf8({"محمد", "فاطمة", "أحمد", "مريم", "علي", "نور", "خالد", "سارة", "يوسف", "ليلى"});
    switch (language) {
    case SampleLanguage::German:
        return german;
    case SampleLanguage::French:
        return french;
    case SampleLanguage::Chinese:
        return chinese;
    case SampleLanguage::Russian:
        return russian;
    case SampleLanguage::Arabic:
        return arabic;
    case SampleLanguage::English:
        break;
    }
    return english;
}

const QStringList& lastNames(SampleLanguage language)
{
    static const QStringList english =
        fromUtf8({"Smith",   "Jones",    "Taylor", "Brown",    "Williams", "Wilson", "Johnson",
                  "Davies",  "Robinson", "Wright", "Thompson", "Evans",    "Walker", "White",
                  "Roberts", "Green",    "Hall",   "Wood",     "O'Brien",  "Clarke"});
    static const QStringList german = fromUtf8(
        {"Müller", "Schmidt", "Schneider", "Fischer", "Weiß", "Groß", "Becker", "Schäfer", "Koch", "Krüger"});
    static const QStringList french = fromUtf8({"Martin", "Bernard", "Dubois", "Lefèvre", "Moreau", "Laurent",
                                                "Girard", "Mercier", "Fontaine", "Roux"});
    static const QStringList chinese = fromUtf8({"王", "李", "张", "刘", "陈", "杨", "黄", "赵", "吴", "周"});
    static const QStringList russian = fromUtf8({"Иванов", "Петров", "Смирнов", "Кузнецов", "Попов",
                                                 "Соколов", "Лебедев", "Козлов", "Новиков", "Морозов"});
    static const QStringList arabic = fromUtf8(
        {"العلي", "الحسن", "منصور", "حداد", "الخطيب", "سليمان", "عبد الله", "النجار", "الشامي", "يوسف"});
    switch (language) {
    case SampleLanguage::German:
        return german;
    case SampleLanguage::French:
        return french;
    case SampleLanguage::Chinese:
        return chinese;
    case SampleLanguage::Russian:
        return russian;
    case SampleLanguage::Arabic:
        return arabic;
    case SampleLanguage::English:
        break;
    }
    return english;
}

const QStringList& groupNames(SampleLanguage language)
{
    static const QStringList english =
        fromUtf8({"Family 👨‍👩‍👧", "Book club", "Weekend trip", "Flatmates", "Five-a-side ⚽",
                  "Work drinks", "Wedding planning 💍"});
    static const QStringList german = fromUtf8({"Familie", "Fußballverein", "WG Küche", "Skiurlaub 2023"});
    static const QStringList french = fromUtf8({"Les copains", "Famille ❤", "Vacances à Nice", "Colocation"});
    static const QStringList chinese = fromUtf8({"家人群", "同学会", "周末爬山"});
    static const QStringList russian = fromUtf8({"Семья", "Дача", "Одноклассники"});
    static const QStringList arabic = fromUtf8({"العائلة", "الأصدقاء", "رحلة الصيف"});
    switch (language) {
    case SampleLanguage::German:
        return german;
    case SampleLanguage::French:
        return french;
    case SampleLanguage::Chinese:
        return chinese;
    case SampleLanguage::Russian:
        return russian;
    case SampleLanguage::Arabic:
        return arabic;
    case SampleLanguage::English:
        break;
    }
    return english;
}

QString fullName(SampleLanguage language, const QString& first, const QString& last)
{
    if (language == SampleLanguage::Chinese)
        return last + first;
    return first + QLatin1Char(' ') + last;
}

const QStringList& emoji()
{
    static const QStringList list = fromUtf8(
        {"✅", "❤", "☺", "☀", "✈", "😀", "👍", "😂", "🎉", "😊", "🙏", "😘", "🔥", "😢", "🥳", "👋", "🍕", "🎂"});
    return list;
}

const QStringList& serviceSenders()
{
    static const QStringList list =
        fromUtf8({"amazon", "dhl-info", "bankalerts", "uber", "vodafone", "nhs-app"});
    return list;
}

const QStringList& serviceTexts()
{
    static const QStringList list = fromUtf8({
        "Your verification code is %1. Do not share it with anyone.",
        "Your parcel %1 will be delivered today between 10:00 and 14:00.",
        "A payment of £%1.00 was made with your card ending 4821.",
        "Your driver is arriving in %1 minutes.",
        "You have used 80% of your data allowance. Reference %1.",
        "Reminder: your appointment reference is %1. Reply STOP to opt out.",
    });
    return list;
}

} // namespace SampleTexts
