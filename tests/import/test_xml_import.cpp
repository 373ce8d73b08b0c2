// Phones' XML backup files: the mending of what strict XML forbids, the
// reading of the quirks files in the wild have, and the import job's one
// transaction into a local database.
#include "tests/kit/JobRecorder.h"
#include "tests/kit/StoreTestKit.h"
#include "tests/kit/TestHome.h"

#include "base/AppDirs.h"
#include "country/CountryLibDb.h"
#include "export/ExportMessagesXml.h"
#include "import/ImportCountry.h"
#include "import/ImportXmlThread.h"
#include "import/XmlBackupReader.h"
#include "import/XmlCountryGuess.h"
#include "import/XmlRefFilter.h"
#include "store/IOS6MessageDb.h"

#include <QBuffer>
#include <QCryptographicHash>
#include <QtTest>

namespace {

const QByteArray kHeader = "<?xml version='1.0' encoding='UTF-8' standalone='yes' ?>\n";

// Everything the filter hands out, the source read chunkSize bytes at a time.
QByteArray filtered(const QByteArray& input, qint64 chunkSize)
{
    QBuffer source;
    source.setData(input);
    source.open(QIODevice::ReadOnly);
    XmlRefFilter filter(&source, chunkSize);
    QByteArray out;
    char buffer[5];
    for (qint64 n; (n = filter.read(buffer, sizeof buffer)) > 0;)
        out.append(buffer, n);
    return out;
}

QByteArray smsElement(const QByteArray& attributes)
{
    return "  <sms protocol=\"0\" " + attributes + " toa=\"null\" sc_toa=\"null\" read=\"1\" />\n";
}

// A file with every quirk backups in the wild have; its count lies.
QByteArray quirksFile()
{
    return kHeader + "<smses count=\"99\" backup_set=\"x\" backup_date=\"1700000000000\" type=\"full\">\n" +
           smsElement("address=\"+44 7700 900123\" date=\"1700000000123\" type=\"1\" subject=\"null\" "
                      "body=\"Hi &#55357;&#56832;&#10;second line\" contact_name=\"Ann\"") +
           "  <mms date=\"1700000001000\" msg_box=\"1\"><parts><part seq=\"0\" ct=\"text/plain\" "
           "text=\"mms text\" /></parts><addrs><addr address=\"123\" type=\"137\" /></addrs></mms>\n" +
           smsElement(
               "address=\"+447700900123\" date=\"1700000002000\" type=\"2\" subject=\"Re\" "
               "body=\"&quot;quoted&quot; &amp; &lt;tagged&gt;&#9;tab&#1;\" contact_name=\"(Unknown)\"") +
           smsElement("address=\"MyBank\" date=\"1700000003000\" type=\"3\" subject=\"null\" body=\"\" "
                      "contact_name=\"null\"") +
           smsElement(
               "address=\"+447700900999\" date=\"1700000004000\" type=\"5\" body=\"lone &#56832; low\"") +
           smsElement("address=\"+447700900999\" date=\"not a date\" type=\"1\" body=\"x\"") +
           smsElement("address=\"null\" date=\"1700000005000\" type=\"1\" body=\"x\"") +
           smsElement("address=\"+447700900999\" date=\"1700000006000\" type=\"9\" body=\"x\"") +
           "  <mms date=\"1700000007000\"><parts /></mms>\n" + "</smses>\n";
}

QList<XmlBackupSms> readAll(XmlBackupReader& reader)
{
    QList<XmlBackupSms> list;
    XmlBackupSms sms;
    while (reader.readSms(sms))
        list << sms;
    return list;
}

// The bytes of every file of a database folder, for "left exactly as it was".
QByteArray folderDigest(const QString& folder)
{
    QCryptographicHash hash(QCryptographicHash::Sha256);
    const QDir dir(folder);
    for (const QString& name : dir.entryList(QDir::Files, QDir::Name)) {
        QFile file(dir.filePath(name));
        if (file.open(QIODevice::ReadOnly)) {
            hash.addData(name.toUtf8());
            hash.addData(file.readAll());
        }
    }
    return hash.result();
}

QStringList storedTexts(const QString& folder)
{
    MessageSet set;
    IOS6MessageDb(QDir(folder), QString()).readMessages(set, 0);
    QStringList texts;
    for (const _MsgMessage* m : set.messages)
        texts << m->text;
    texts.sort();
    return texts;
}

} // namespace

class TestXmlImport : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void filterMendsReferences_data();
    void filterMendsReferences();
    void readsTheQuirks();
    void refusesFilesThatAreNoBackup_data();
    void refusesFilesThatAreNoBackup();
    void importsIntoALocalDatabase();
    void failedOrCancelledImportLeavesTheTarget_data();
    void failedOrCancelledImportLeavesTheTarget();
    void typesAndTextsSurviveARoundTrip();
    void countryOfTheNumbers_data();
    void countryOfTheNumbers();
    void cancelWhileSkippingMmsEndsAtOnce();

private:
    QString writeFile(const QString& name, const QByteArray& content);
    JobRecorder& runImport(const QString& file, const QString& folder, int cancelAtItem = 0);

    TestHome home;
    std::unique_ptr<JobRecorder> form;
};

void TestXmlImport::init()
{
    removeDirRecursively(localDbDir().absolutePath());
}

QString TestXmlImport::writeFile(const QString& name, const QByteArray& content)
{
    const QString path = home.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(content) != content.size())
        qFatal("can't write %s", qPrintable(path));
    return path;
}

JobRecorder& TestXmlImport::runImport(const QString& file, const QString& folder, int cancelAtItem)
{
    form = std::make_unique<JobRecorder>();
    form->cancelAtItem(cancelAtItem);
    ImportXmlThread job(file, QDir(folder), QStringLiteral("GB"), form.get(), nullptr);
    form->runToEnd(job);
    return *form;
}

void TestXmlImport::filterMendsReferences_data()
{
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QByteArray>("expected");
    const QByteArray fffd = "\xEF\xBF\xBD";
    QTest::newRow("surrogate pair") << QByteArray("a&#55357;&#56832;b") << QByteArray("a&#128512;b");
    QTest::newRow("hex surrogate pair") << QByteArray("&#xD83D;&#xde00;") << QByteArray("&#128512;");
    QTest::newRow("lone high, text after") << QByteArray("&#55357;x") << fffd + "x";
    QTest::newRow("lone high at the end") << QByteArray("&#55357;") << fffd;
    QTest::newRow("lone low") << QByteArray("&#56832;") << fffd;
    QTest::newRow("high, then a pair") << QByteArray("&#55357;&#55357;&#56832;") << fffd + "&#128512;";
    const QByteArray escape = "\xEF\xB7\x90"; // U+FDD0
    QTest::newRow("control reference")
        << QByteArray("&#1;&#x1f;") << escape + "\xEF\xB7\x91" + escape + "\xEF\xB7\xAF";
    QTest::newRow("NUL and no character") << QByteArray("&#0;&#1114112;&#65534;") << fffd + fffd + fffd;
    QTest::newRow("raw control bytes")
        << QByteArray("a\x02z\x00", 4) << "a" + escape + "\xEF\xB7\x92z" + fffd;
    QTest::newRow("the escape itself, raw and as references")
        << "a" + escape + "&#64976;&#xFDD0;"
        << "a" + escape + escape + escape + escape + escape + escape;
    const QByteArray otherNoncharacters = "\xEF\xB7\x91\xEF\xB7\xAF&#64977;\xEF\xBF\xBD\xEE\x80\x80";
    QTest::newRow("other noncharacters and private use") << otherNoncharacters << otherNoncharacters;
    const QByteArray kept = "&#10;&#9;&#13;&#233;&amp;&lt;\t\r\n&#128512;";
    QTest::newRow("allowed references and bytes") << kept << kept;
    const QByteArray notReferences = "&#;&#12a;& #&#x;&#99999999999999999;";
    QTest::newRow("not references") << notReferences << notReferences;
}

// Whatever the chunks the file comes in, a reference split between them is
// mended the same.
void TestXmlImport::filterMendsReferences()
{
    QFETCH(QByteArray, input);
    QFETCH(QByteArray, expected);
    for (const qint64 chunk : {1, 2, 3, 7, 4096})
        QCOMPARE(filtered(input, chunk), expected);
}

void TestXmlImport::readsTheQuirks()
{
    QBuffer file;
    file.setData(quirksFile());
    file.open(QIODevice::ReadOnly);
    XmlBackupReader reader(&file);
    const QList<XmlBackupSms> list = readAll(reader);
    QVERIFY2(!reader.hasError(), qPrintable(reader.errorString()));
    QCOMPARE(list.size(), 4);
    QCOMPARE(reader.mmsSkipped(), 2);
    QCOMPARE(reader.malformedSkipped(), 3); // the date, the address, the type

    QCOMPARE(list[0].address, QStringLiteral("+44 7700 900123"));
    QCOMPARE(list[0].body, QStringLiteral("Hi \U0001F600\nsecond line"));
    QCOMPARE(list[0].subject, QString());
    QCOMPARE(list[0].contactName, QStringLiteral("Ann"));
    QCOMPARE(list[0].dateMs, 1700000000123);
    QVERIFY(!list[0].fromMe());

    QCOMPARE(list[1].body, QStringLiteral("\"quoted\" & <tagged>\ttab\x01"));
    QCOMPARE(list[1].subject, QStringLiteral("Re"));
    QCOMPARE(list[1].contactName, QString());
    QVERIFY(list[1].fromMe());

    QCOMPARE(list[2].address, QStringLiteral("MyBank"));
    QCOMPARE(list[2].body, QString());
    QCOMPARE(list[2].contactName, QString());
    QVERIFY(list[2].fromMe()); // a draft is the owner's own text

    QCOMPARE(list[3].body, QStringLiteral("lone \uFFFD low"));
    QVERIFY(list[3].fromMe()); // a failed message was the owner's
}

void TestXmlImport::refusesFilesThatAreNoBackup_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("error");
    const QByteArray open = kHeader + "<smses count=\"1\">\n";
    const QByteArray sms = smsElement("address=\"1\" date=\"1\" type=\"1\" body=\"x\"");
    QTest::newRow("not XML") << QByteArray("hello, world") << "not a readable XML backup (line 1";
    QTest::newRow("empty") << QByteArray() << "holds no XML element";
    QTest::newRow("wrong root") << kHeader + "<html><sms/></html>"
                                << "its first element is <html>";
    QTest::newRow("truncated in an element") << open + sms + "  <sms address=\"1\" da"
                                             << "ends in the middle of an element (line 4)";
    QTest::newRow("truncated after an element") << open + sms << "ends in the middle of an element";
    QTest::newRow("invalid UTF-8")
        << open + smsElement("address=\"1\" date=\"1\" type=\"1\" body=\"\xC3\x28\"") + "</smses>"
        << "Encountered incorrectly encoded content";
    QTest::newRow("text after the root") << open + sms + "</smses><smses/>"
                                         << "not a readable XML backup";
}

void TestXmlImport::refusesFilesThatAreNoBackup()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, error);
    QBuffer file;
    file.setData(content);
    file.open(QIODevice::ReadOnly);
    XmlBackupReader reader(&file);
    readAll(reader);
    QVERIFY(reader.hasError());
    QVERIFY2(reader.errorString().contains(error), qPrintable(reader.errorString()));
}

void TestXmlImport::importsIntoALocalDatabase()
{
    const QString file = writeFile(QStringLiteral("quirks.xml"), quirksFile());
    const QString folder = localDbDir().absoluteFilePath(QStringLiteral("Imported"));
    JobRecorder& first = runImport(file, folder);
    QCOMPARE(first.textsOf(QStringLiteral("errorOccurred")), QStringList());
    QCOMPARE(first.textsOf(QStringLiteral("succeed")),
             QStringList{"Imported 4 SMS. Already in the database: 0. MMS skipped: 2. Unusable elements "
                         "skipped: 3."});

    MessageSet set;
    IOS6MessageDb(QDir(folder), QString()).readMessages(set, 0);
    QCOMPARE(set.messages.size(), 4);
    QMap<int, const _MsgMessage*> byDate;
    for (const _MsgMessage* m : set.messages)
        byDate.insert(m->date, m);
    const _MsgMessage* first0 = byDate.value(1700000000 - 978307200);
    QVERIFY(first0 && first0->handle);
    QCOMPARE(first0->text, QStringLiteral("Hi \U0001F600\nsecond line"));
    QCOMPARE(first0->is_from_me, 0);
    QCOMPARE(first0->handle->_ct_name, QStringLiteral("Ann"));
    // Both ways of writing the number name the same correspondent and conversation.
    const _MsgMessage* reply = byDate.value(1700000002 - 978307200);
    QVERIFY(reply && reply->handle);
    QCOMPARE(reply->is_from_me, 1);
    QCOMPARE(reply->handle->id, first0->handle->id);
    QCOMPARE(reply->chat, first0->chat);
    QCOMPARE(set.chats.size(), 3);

    // The same file again adds nothing.
    QCOMPARE(runImport(file, folder).textsOf(QStringLiteral("succeed")),
             QStringList{"Imported 0 SMS. Already in the database: 4. MMS skipped: 2. Unusable elements "
                         "skipped: 3."});
    QCOMPARE(storedTexts(folder).size(), 4);
}

void TestXmlImport::failedOrCancelledImportLeavesTheTarget_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<int>("cancelAtItem");
    QTest::addColumn<bool>("errorShown");
    QByteArray many = kHeader + "<smses>\n";
    for (int i = 0; i < 3000; ++i)
        many += smsElement("address=\"+4477009" + QByteArray::number(10000 + i % 50) + "\" date=\"" +
                           QByteArray::number(1600000000000 + i * 1000LL) + "\" type=\"2\" body=\"new " +
                           QByteArray::number(i) + "\"");
    QTest::newRow("cancelled midway") << many + "</smses>" << 2 << false;
    QTest::newRow("truncated after many") << many.left(many.size() - 30) << 0 << true;
    QTest::newRow("missing file") << QByteArray() << -1 << true;
}

void TestXmlImport::failedOrCancelledImportLeavesTheTarget()
{
    QFETCH(QByteArray, content);
    QFETCH(int, cancelAtItem);
    QFETCH(bool, errorShown);
    const QString folder = localDbDir().absoluteFilePath(QStringLiteral("Target"));
    QCOMPARE(runImport(writeFile(QStringLiteral("quirks.xml"), quirksFile()), folder)
                 .textsOf(QStringLiteral("succeed"))
                 .size(),
             1);
    const QByteArray before = folderDigest(folder);
    const QStringList textsBefore = storedTexts(folder);

    QString file = writeFile(QStringLiteral("other.xml"), content);
    if (cancelAtItem < 0)
        file += QStringLiteral(".gone");
    JobRecorder& result = runImport(file, folder, qMax(0, cancelAtItem));
    QCOMPARE(result.textsOf(QStringLiteral("succeed")), QStringList());
    QCOMPARE(result.textsOf(QStringLiteral("errorOccurred")).size(), errorShown ? 1 : 0);
    if (cancelAtItem > 0)
        QVERIFY(result.itemCount() >= 2); // it had begun writing
    QCOMPARE(storedTexts(folder), textsBefore);
    QCOMPARE(folderDigest(folder), before);
}

namespace {

// Every message of the folder's database as "date|from me|address|text", sorted.
QStringList messageLines(const QString& folder)
{
    MessageSet set;
    IOS6MessageDb(QDir(folder), QString()).readMessages(set, 0);
    QStringList lines;
    for (const _MsgMessage* m : set.messages)
        lines << QStringLiteral("%1|%2|%3|%4")
                     .arg(m->date)
                     .arg(m->is_from_me)
                     .arg(m->handle ? m->handle->id : QString(), m->text);
    lines.sort();
    return lines;
}

} // namespace

// Types 1 to 6: only 1 was received. Texts holding the import's own escape
// (U+FDD0), the other noncharacters and private-use characters, and a date
// written in seconds come back unchanged through an XML export and a second
// import.
void TestXmlImport::typesAndTextsSurviveARoundTrip()
{
    QString odd;
    for (char16_t c = 0xFDD0; c <= 0xFDEF; ++c)
        odd += QChar(c);
    for (char16_t c = 0xE000; c <= 0xE010; ++c)
        odd += QChar(c);
    QByteArray content = kHeader + "<smses>\n";
    for (int type = 1; type <= 6; ++type)
        content += smsElement("address=\"+447700900123\" date=\"" +
                              QByteArray::number(1700000000000 + type * 60000) + "\" type=\"" +
                              QByteArray::number(type) + "\" body=\"type " + QByteArray::number(type) + "\"");
    content += smsElement("address=\"07400 000000\" date=\"1700000600\" type=\"1\" body=\"" + odd.toUtf8() +
                          "&#64976;&#64977;\U0001F600\"");
    content += "</smses>\n";
    const QString first = localDbDir().absoluteFilePath(QStringLiteral("First"));
    QCOMPARE(
        runImport(writeFile(QStringLiteral("types.xml"), content), first).textsOf(QStringLiteral("succeed")),
        QStringList{"Imported 7 SMS. Already in the database: 0. MMS skipped: 0. Unusable elements "
                    "skipped: 0. Dates read as seconds: 1."});
    const QStringList lines = messageLines(first);
    const int base = int(1700000000 - 978307200);
    QCOMPARE(lines, (QStringList{QStringLiteral("%1|0|+447700900123|type 1").arg(base + 60),
                                 QStringLiteral("%1|1|+447700900123|type 2").arg(base + 120),
                                 QStringLiteral("%1|1|+447700900123|type 3").arg(base + 180),
                                 QStringLiteral("%1|1|+447700900123|type 4").arg(base + 240),
                                 QStringLiteral("%1|1|+447700900123|type 5").arg(base + 300),
                                 QStringLiteral("%1|1|+447700900123|type 6").arg(base + 360),
                                 QStringLiteral("%1|0|+447400000000|").arg(base + 600) + odd +
                                     QStringLiteral("\uFDD0\uFDD1\U0001F600")}));

    MessageSet set;
    IOS6MessageDb(QDir(first), QString()).readMessages(set, 0);
    const QString exported = home.filePath(QStringLiteral("exported.xml"));
    ExportMessagesXml exporter(exported, set.messages.size());
    exporter.begin();
    for (const _MsgMessage* m : set.messages)
        exporter.write(*m);
    exporter.end();
    const QString second = localDbDir().absoluteFilePath(QStringLiteral("Second"));
    QCOMPARE(runImport(exported, second).textsOf(QStringLiteral("errorOccurred")), QStringList());
    QCOMPARE(messageLines(second), lines);
}

void TestXmlImport::countryOfTheNumbers_data()
{
    QTest::addColumn<QStringList>("addresses");
    QTest::addColumn<QString>("region"); // empty: no international number
    QTest::newRow("+1 majority: the main region")
        << QStringList{"+1 234 567 8910", "+1 (415) 555-0123", "+44 7700 900123", "(234) 567-8910"} << "US";
    QTest::newRow("+44 majority, one written with 00")
        << QStringList{"+447700900123", "0044 7700 900456", "+1 234 567 8910", "07700 900789"} << "GB";
    QTest::newRow("mixed: the most frequent code")
        << QStringList{"+4915112345678", "+491701234567", "+4916012345678", "+447700900123",
                       "+447700900124",  "030 1234567",   "MyBank"}
        << "DE";
    QTest::newRow("+7: the region whose mobile numbers they are")
        << QStringList{"+7 912 345 6789", "+7 916 123 4567", "+7 701 234 5678"} << "RU";
    QTest::newRow("no international number") << QStringList{"07700 900123", "MyBank", "12345", "+12"} << "";
}

// The pre-pass over the raw bytes, whatever chunks the file arrives in, and
// the job that runs it on a file.
void TestXmlImport::countryOfTheNumbers()
{
    QFETCH(QStringList, addresses);
    QFETCH(QString, region);
    QByteArray content = kHeader + "<smses>\n";
    for (const QString& address : addresses)
        content +=
            smsElement("address=\"" + address.toUtf8() + "\" date=\"1700000000000\" type=\"1\" body=\"x\"");
    // Only attributes named address count, not text that looks like one.
    content += "  <mms><parts><part data=\"address=&quot;+8613800000000 x-address=&quot;+8613800000000\" "
               "/></parts></mms>\n";
    content += "</smses>\n";
    CountryLibDb countries{QString()};
    for (const int chunk : {1, 3, 7, 100000}) {
        XmlCountryGuess guess(countries.callingCodes());
        for (int at = 0; at < content.size(); at += chunk)
            guess.scan(content.mid(at, chunk));
        guess.finish();
        QCOMPARE(guess.region(countries.countriesOfCallingCode(guess.callingCode())).sn, region);
    }
    JobRecorder form;
    XmlCountryGuessThread job(writeFile(QStringLiteral("numbers.xml"), content), &form, nullptr);
    form.runToEnd(job);
    QCOMPARE(form.textsOf(QStringLiteral("succeed")), QStringList{QString()});
    QCOMPARE(job.country().sn, region);
}

// A backup of large <mms> elements after one SMS: the progress moves while
// they are skipped, and Cancel ends the job at once, without the rest of the
// file, leaving no messages.
void TestXmlImport::cancelWhileSkippingMmsEndsAtOnce()
{
    const QString path = home.filePath(QStringLiteral("mms.xml"));
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(kHeader + "<smses>\n" +
                   smsElement("address=\"+447700900123\" date=\"1700000000000\" type=\"1\" body=\"x\""));
        const QByteArray mms = "  <mms date=\"1700000001000\"><parts><part ct=\"image/jpeg\" data=\"" +
                               QByteArray(20000, 'A') + "\" /></parts></mms>\n";
        for (int i = 0; i < 3000; ++i)
            file.write(mms);
        file.write("</smses>\n");
    }
    JobRecorder recorder;
    recorder.cancelAtItem(1);
    const QString folder = localDbDir().absoluteFilePath(QStringLiteral("Heavy"));
    ImportXmlThread job(path, QDir(folder), QString(), &recorder, nullptr);
    recorder.runToEnd(job);
    QVERIFY(recorder.sinceCancel() >= 0);
    QVERIFY2(recorder.sinceCancel() < 1500, qPrintable(QString::number(recorder.sinceCancel())));
    const QList<JobRecorder::Call> progress = recorder.callsOf(QStringLiteral("updateProgress"));
    QVERIFY2(progress.last().progress < 100, qPrintable(QString::number(progress.last().progress)));
    QCOMPARE(recorder.textsOf(QStringLiteral("succeed")), QStringList());
    QCOMPARE(storedTexts(folder), QStringList());
}

QTEST_GUILESS_MAIN(TestXmlImport)
#include "test_xml_import.moc"
