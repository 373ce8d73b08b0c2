#include "tools/gen_xml_backup/XmlBackupGenerator.h"

#include "tools/gen_messages/SampleTexts.h"

#include <QDateTime>
#include <QIODevice>
#include <QLocale>
#include <QUuid>

#include <algorithm>
#include <cmath>
#include <iterator>
#include <stdexcept>
#include <utility>

namespace {
constexpr qint64 kFirstDate = 1451606400000; // 2016-01-01 00:00:00 UTC
constexpr qint64 kSpan = 126230400000;       // four years
constexpr int kPhoneOffset = -5 * 3600;      // the readable dates of a phone in New York, winter time
constexpr qsizetype kFlushAt = 1 << 20;

const char* const kServiceCenters[] = {"+12063130004", "+13123149810", "+14054720055", "+447782000800"};

// Texts people really send that need escaping, tabs included.
const char* const kMarkupTexts[] = {
    "Tom & Jerry <3",
    "Price: <$20 & free shipping>",
    "She said \"see you at 5\"",
    "5 > 3 && 2 < 4",
    "it's 'fine'",
    "Name\tQty\tPrice\nMilk\t2\t$3",
    "a<b>c</b>",
    "AT&T says: \"your bill is ready\"",
};

void appendUtf8(QByteArray& out, char32_t code)
{
    if (code < 0x80) {
        out += char(code);
    } else if (code < 0x800) {
        out += char(0xC0 | (code >> 6));
        out += char(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += char(0xE0 | (code >> 12));
        out += char(0x80 | ((code >> 6) & 0x3F));
        out += char(0x80 | (code & 0x3F));
    } else {
        out += char(0xF0 | (code >> 18));
        out += char(0x80 | ((code >> 12) & 0x3F));
        out += char(0x80 | ((code >> 6) & 0x3F));
        out += char(0x80 | (code & 0x3F));
    }
}

void appendReference(QByteArray& out, char16_t unit)
{
    out += "&#";
    out += QByteArray::number(unit);
    out += ';';
}
} // namespace

XmlBackupGenerator::XmlBackupGenerator(const XmlBackupOptions& options) : options(options), rng(options.seed)
{}

QString XmlBackupGenerator::digits(int count)
{
    QString text;
    for (int i = 0; i < count; ++i)
        text += QChar(u'0' + below(10));
    return text;
}

// A national number the way people and phones write it without the country code.
QString XmlBackupGenerator::localForm(const QString& national, bool british)
{
    if (british)
        return QLatin1Char('0') + national.left(4) + QLatin1Char(' ') + national.mid(4);
    switch (below(4)) {
    case 0:
        return national;
    case 1:
        return QStringLiteral("(%1) %2-%3").arg(national.left(3), national.mid(3, 3), national.mid(6));
    case 2:
        return QStringLiteral("%1-%2-%3").arg(national.left(3), national.mid(3, 3), national.mid(6));
    default:
        return QLatin1Char('1') + national;
    }
}

void XmlBackupGenerator::planConversations()
{
    const int total = between(300, 700);
    QList<QString> nationals; // per conversation; empty for services
    QList<bool> british;
    for (int i = 0; i < total; ++i) {
        Conversation conversation;
        QString national;
        bool uk = false;
        if (chance(60)) {
            conversation.service = true;
            conversation.address = chance(600) ? QString::number(between(20000, 899999))
                                               : pick(SampleTexts::serviceSenders()).toUpper();
        } else if (i > 10 && chance(50)) {
            // Someone already met, under another form of the number.
            int twin = below(i);
            while (nationals.at(twin).isEmpty())
                twin = (twin + 1) % i;
            national = nationals.at(twin);
            uk = british.at(twin);
            conversation.address = localForm(national, uk);
            conversation.name = chance(500) ? conversations.at(twin).name : QString();
        } else {
            uk = chance(150);
            national = uk ? QStringLiteral("7700900") + digits(3) : QStringLiteral("555") + digits(7);
            const QString international = (uk ? QStringLiteral("+44") : QStringLiteral("+1")) + national;
            conversation.address = chance(600) ? international : localForm(national, uk);
            if (chance(750)) {
                const auto language = chance(850) ? SampleLanguage::English : SampleLanguage(between(1, 5));
                conversation.name = SampleTexts::fullName(language, pick(SampleTexts::firstNames(language)),
                                                          pick(SampleTexts::lastNames(language)));
            }
        }
        nationals << national;
        british << uk;
        conversations << conversation;
    }
    // A few people also text in groups, with two or three of the others.
    for (int i = 0; i < total; ++i) {
        if (conversations.at(i).service || !chance(100))
            continue;
        for (int k = between(1, 2); k > 0; --k) {
            const int other = below(total);
            if (other != i && !conversations.at(other).service)
                conversations[i].members << other;
        }
    }
    // Very different lengths: a few long conversations, many short ones.
    double sum = 0;
    for (int i = 0; i < total; ++i) {
        sum += 1.0 / std::pow(double(i + 1), 1.2);
        cumulativeWeight << sum;
    }
}

int XmlBackupGenerator::pickConversation()
{
    const double point = double(next()) / 4294967296.0 * cumulativeWeight.last();
    const auto found = std::upper_bound(cumulativeWeight.cbegin(), cumulativeWeight.cend(), point);
    return std::min(int(found - cumulativeWeight.cbegin()), int(conversations.size()) - 1);
}

QString XmlBackupGenerator::sentence()
{
    const SampleLanguage language = chance(880) ? SampleLanguage::English : SampleLanguage(between(1, 5));
    return chance(400) ? pick(SampleTexts::shortReplies(language)) : pick(SampleTexts::sentences(language));
}

QString XmlBackupGenerator::body(const Conversation& conversation)
{
    if (conversation.service)
        return pick(SampleTexts::serviceTexts()).arg(digits(6));
    const int kind = below(100);
    QString text;
    if (kind < 30) {
        text = pick(SampleTexts::shortReplies(SampleLanguage::English));
    } else if (kind < 58) {
        text = sentence();
        for (int k = below(3); k > 0; --k)
            text += QLatin1Char(' ') + sentence();
    } else if (kind < 72) {
        const QString lineEnd = chance(100) ? QStringLiteral("\r\n") : QStringLiteral("\n");
        text = sentence();
        for (int k = between(1, 4); k > 0; --k)
            text += (chance(200) ? lineEnd + lineEnd : lineEnd) + sentence();
    } else if (kind < 88) {
        text = sentence() + QLatin1Char(' ');
        for (int k = between(1, 3); k > 0; --k)
            text += pick(SampleTexts::emoji());
    } else if (kind < 94) {
        for (int k = between(1, 4); k > 0; --k)
            text += pick(SampleTexts::emoji());
    } else if (kind < 97) {
        // Long enough to have gone as several SMS.
        for (int k = between(6, 20); k > 0; --k)
            text += sentence() + QLatin1Char(' ');
        text.chop(1);
    } else {
        text = QString::fromUtf8(kMarkupTexts[below(int(std::size(kMarkupTexts)))]);
    }
    return text;
}

QString XmlBackupGenerator::readableDate(qint64 ms) const
{
    const QDateTime local = QDateTime::fromMSecsSinceEpoch(ms, Qt::OffsetFromUTC, kPhoneOffset);
    return QLocale::c().toString(local, QStringLiteral("MMM d, yyyy h:mm:ss AP"));
}

// The app's escaping: markup characters as entities, control characters and
// (by default) each half of a surrogate pair as a decimal reference.
void XmlBackupGenerator::appendEscaped(QStringView text, bool surrogateReferences)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t unit = text.at(i).unicode();
        switch (unit) {
        case u'&':
            buffer += "&amp;";
            continue;
        case u'<':
            buffer += "&lt;";
            continue;
        case u'>':
            buffer += "&gt;";
            continue;
        case u'"':
            buffer += "&quot;";
            continue;
        case u'\'':
            buffer += "&apos;";
            continue;
        default:
            break;
        }
        const bool pair =
            QChar::isHighSurrogate(unit) && i + 1 < text.size() && text.at(i + 1).isLowSurrogate();
        if (pair && !surrogateReferences) {
            appendUtf8(buffer, QChar::surrogateToUcs4(unit, text.at(i + 1).unicode()));
            ++i;
        } else if (unit < 0x20 || unit == 0x7F || QChar::isSurrogate(unit)) {
            appendReference(buffer, unit);
        } else {
            appendUtf8(buffer, unit);
        }
    }
}

void XmlBackupGenerator::attribute(const char* name, QStringView value, bool surrogateReferences)
{
    buffer += ' ';
    buffer += name;
    buffer += "=\"";
    appendEscaped(value, surrogateReferences);
    buffer += '"';
}

void XmlBackupGenerator::attribute(const char* name, const char* value)
{
    buffer += ' ';
    buffer += name;
    buffer += "=\"";
    buffer += value;
    buffer += '"';
}

void XmlBackupGenerator::attribute(const char* name, qint64 value)
{
    attribute(name, QByteArray::number(value).constData());
}

void XmlBackupGenerator::writeSms(qint64 date)
{
    const Conversation& conversation = conversations.at(pickConversation());
    const int roll = below(1000);
    int type = roll < 520   ? 1
               : roll < 960 ? 2
                            : 3 + (roll - 960) / 10; // 3 draft, 4 outbox, 5 failed, 6 queued
    if (conversation.service)
        type = 1;
    buffer += "  <sms";
    attribute("protocol", "0");
    attribute("address", conversation.address);
    attribute("date", date);
    attribute("type", qint64(type));
    if (chance(10))
        attribute("subject", QString(QStringLiteral("Re: ") + sentence()));
    else
        attribute("subject", "null");
    attribute("body", body(conversation), chance(800));
    attribute("toa", "null");
    attribute("sc_toa", "null");
    attribute("service_center", type == 1 && chance(700) ? kServiceCenters[below(4)] : "null");
    attribute("read", type == 1 && chance(30) ? "0" : "1");
    attribute("status", type == 5 ? "64" : type == 2 && chance(300) ? "0" : "-1");
    attribute("locked", chance(5) ? "1" : "0");
    attribute("date_sent", type == 1 ? (date / 1000 - between(1, 90)) * 1000 : 0);
    attribute("sub_id", chance(100) ? "1" : "-1");
    attribute("readable_date", readableDate(date));
    attribute("contact_name", conversation.name.isEmpty() ? QStringLiteral("(Unknown)") : conversation.name);
    buffer += " />\n";
}

void XmlBackupGenerator::writePart(int seq, const char* type, const QString& text, const QString& location,
                                   const QByteArray& data)
{
    buffer += "      <part";
    attribute("seq", qint64(seq));
    attribute("ct", type);
    attribute("name", "null");
    attribute("chset", text.isEmpty() ? "null" : "106");
    attribute("cd", "null");
    attribute("fn", "null");
    attribute("cid", QString(QLatin1Char('<') + location + QLatin1Char('>')));
    attribute("cl", location);
    attribute("ctt_s", "null");
    attribute("ctt_t", "null");
    if (text.isEmpty())
        attribute("text", "null");
    else
        attribute("text", text);
    if (!data.isEmpty())
        attribute("data", data.toBase64().constData());
    buffer += " />\n";
}

void XmlBackupGenerator::writeMms(qint64 date)
{
    const Conversation& conversation = conversations.at(pickConversation());
    const bool group = !conversation.members.isEmpty() && chance(600);
    const bool received = conversation.service || chance(600);
    const bool image = !conversation.service && chance(400);
    QStringList addresses{conversation.address};
    QStringList names{conversation.name.isEmpty() ? conversation.address : conversation.name};
    if (group) {
        for (int member : conversation.members) {
            const Conversation& other = conversations.at(member);
            addresses << other.address;
            names << (other.name.isEmpty() ? other.address : other.name);
        }
    }
    const qint64 seconds = date / 1000;
    const QString messageId =
        QStringLiteral("mavodi-%1-%2").arg(seconds, 0, 16).arg(next(), 8, 16, QLatin1Char('0'));

    buffer += "  <mms";
    attribute("date", seconds * 1000);
    for (const char* name : {"rr", "sub"})
        attribute(name, "null");
    attribute("ct_t", "application/vnd.wap.multipart.related");
    attribute("read_status", "null");
    attribute("seen", "1");
    attribute("msg_box", received ? "1" : "2");
    attribute("address", addresses.join(QLatin1Char('~')));
    attribute("sub_cs", "null");
    attribute("resp_st", received ? "null" : "128");
    for (const char* name : {"retr_st", "d_tm"})
        attribute(name, "null");
    attribute("text_only", image ? "0" : "1");
    attribute("exp", received ? "604800" : "null");
    attribute("locked", "0");
    attribute("m_id", messageId);
    for (const char* name : {"st", "retr_txt_cs", "retr_txt"})
        attribute(name, "null");
    attribute("creator", "com.google.android.apps.messaging");
    attribute("date_sent", received ? seconds * 1000 - 2000 : 0);
    attribute("read", "1");
    attribute("m_size", received ? QByteArray::number(between(400, 90000)).constData() : "null");
    for (const char* name : {"rpt_a", "ct_cls"})
        attribute(name, "null");
    attribute("pri", "129");
    attribute("sub_id", "-1");
    attribute("tr_id",
              QString(QStringLiteral("T") + QString::number(next(), 16) + QString::number(seconds, 16)));
    attribute("resp_txt", "null");
    attribute("ct_l", received ? QString(QStringLiteral("http://mms.example.net/m/") + digits(10))
                               : QStringLiteral("null"));
    attribute("m_cls", "personal");
    attribute("d_rpt", "129");
    attribute("v", "18");
    attribute("_id", nextMmsId++);
    attribute("m_type", received ? "132" : "128");
    attribute("readable_date", readableDate(seconds * 1000));
    attribute("contact_name", names.join(QStringLiteral(", ")));
    buffer += ">\n    <parts>\n";

    QString smil = QStringLiteral("<smil><head><layout><root-layout/>");
    smil +=
        image ? QStringLiteral(
                    "<region id=\"Image\" fit=\"meet\" top=\"0\" left=\"0\" height=\"80%\" width=\"100%\"/>")
              : QString();
    smil += QStringLiteral(
        "<region id=\"Text\" top=\"80%\" left=\"0\" height=\"20%\" width=\"100%\"/></layout></head>"
        "<body><par dur=\"5000ms\">");
    smil += image ? QStringLiteral("<img src=\"image000000.jpg\" region=\"Image\"/>") : QString();
    smil += QStringLiteral("<text src=\"text_0.txt\" region=\"Text\"/></par></body></smil>");
    writePart(-1, "application/smil", smil, QStringLiteral("smil.xml"));
    int seq = 0;
    if (image) {
        QByteArray jpeg("\xFF\xD8\xFF\xE0", 4);
        for (int k = between(200, 2400); k > 0; --k)
            jpeg += char(next());
        writePart(seq++, "image/jpeg", QString(), QStringLiteral("image000000.jpg"), jpeg);
    }
    writePart(seq, "text/plain", body(conversation), QStringLiteral("text_0.txt"));
    buffer += "    </parts>\n    <addrs>\n";
    const QString me = QStringLiteral("insert-address-token");
    const QStringList from = received ? QStringList{addresses.first()} : QStringList{me};
    QStringList to = received ? addresses.mid(1) : addresses;
    if (received)
        to.prepend(me);
    for (const auto& [list, type] :
         {std::pair<const QStringList*, const char*>{&from, "137"}, {&to, "151"}}) {
        for (const QString& address : *list) {
            buffer += "      <addr";
            attribute("address", address);
            attribute("type", type);
            attribute("charset", "106");
            buffer += " />\n";
        }
    }
    buffer += "    </addrs>\n  </mms>\n";
}

void XmlBackupGenerator::flushIfFull(QIODevice& device, bool force)
{
    if (!force && buffer.size() < kFlushAt)
        return;
    if (device.write(buffer) != buffer.size())
        throw std::runtime_error(device.errorString().toUtf8().toStdString());
    buffer.resize(0);
}

void XmlBackupGenerator::write(QIODevice& device)
{
    buffer.reserve(kFlushAt + 64 * 1024);
    planConversations();
    QByteArray id(16, Qt::Uninitialized);
    for (char& byte : id)
        byte = char(next());
    id[6] = char((id[6] & 0x0F) | 0x40); // a version 4 identifier, as the app makes them
    id[8] = char((id[8] & 0x3F) | 0x80);
    const qint64 count = std::max<qint64>(0, options.count);
    const qint64 backupDate = kFirstDate + 2 * kSpan + 86400000 + below(86400000);

    buffer += "<?xml version='1.0' encoding='UTF-8' standalone='yes' ?>\n";
    buffer += "<!--File created " + readableDate(backupDate).toLatin1() + "-->\n";
    buffer += "<?xml-stylesheet type=\"text/xsl\" href=\"sms.xsl\"?>\n";
    buffer += "<smses";
    attribute("count", count);
    attribute("backup_set", QUuid::fromRfc4122(id).toString(QUuid::WithoutBraces));
    attribute("backup_date", backupDate);
    attribute("type", "full");
    buffer += ">\n";

    // Gaps of up to twice the average, so the dates stay within twice the span.
    const quint64 widest = quint64(std::max<qint64>(2, 2 * kSpan / std::max<qint64>(1, count)));
    qint64 date = kFirstDate;
    qint64 untilMms = between(40, 60);
    for (qint64 i = 0; i < count; ++i) {
        date += qint64(((quint64(next()) << 32) | next()) % widest);
        if (--untilMms == 0) {
            writeMms(date);
            untilMms = between(40, 60);
        } else {
            writeSms(date);
        }
        flushIfFull(device, false);
    }
    buffer += "</smses>\n";
    flushIfFull(device, true);
}
