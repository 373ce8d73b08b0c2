// The bytes of the text, CSV, HTML and XML backup exports.
#include "tests/kit/StoreTestKit.h"

#include "export/ExportMessagesCsv.h"
#include "export/ExportMessagesTxt.h"
#include "export/ExportMessagesXml.h"
#include "export/ExportSMSHtml.h"
#include "store/StoredDate.h"
#include "tools/gen_xml_backup/XmlBackupGenerator.h"

#include <QBuffer>
#include <QDateTime>
#include <QFile>
#include <QLocale>
#include <QMap>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QUuid>
#include <QXmlStreamReader>
#include <QtTest>

#include <memory>

namespace {
constexpr int kDate = 600000000; // 2020-01-06 10:40:00 UTC

using Exporter = std::unique_ptr<AbsFormatExport<_MsgMessage>>;

Exporter exporterFor(const QString& format, const QString& path)
{
    if (format == QLatin1String("txt"))
        return std::make_unique<ExportMessagesTxt>(path);
    if (format == QLatin1String("csv"))
        return std::make_unique<ExportMessagesCsv>(path);
    if (format == QLatin1String("xml"))
        return std::make_unique<ExportMessagesXml>(path, 1);
    return std::make_unique<ExportSMSHtml>(path);
}

QString shortDate()
{
    return QLocale::system().toString(storedDateToLocal(kDate), QLocale::ShortFormat);
}

QString padded(const QString& text, int width)
{
    return text + QString(qMax(0, width - int(text.size())), QLatin1Char(' '));
}

enum Conversation
{
    One,
    Group,
    None
};

void addLine(const char* tag, Conversation chat, const QString& name, int itemType, bool fromMe,
             const QString& text, const QString& txtRest, const QString& csvRest)
{
    QTest::newRow(tag) << int(chat) << name << itemType << fromMe << text << txtRest << csvRest;
}
} // namespace

class TestExportFormats : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void lines_data();
    void lines();
    void html();
    void xmlBytes();
    void xmlReadsBack();
    void xmlHeaderIsFresh();
    void xmlEscaping_data();
    void xmlEscaping();
    void xmlEveryStrictReaderTakesIt();
    void xmlReadableDate_data();
    void xmlReadableDate();
    void generatedBackup();
    void faults_data();
    void faults();

private:
    QByteArray exported(const QString& format, const QList<_MsgMessage*>& messages);

    QTemporaryDir dir;
};

void TestExportFormats::initTestCase()
{
    QVERIFY2(storedDateToLocal(kDate).offsetFromUtc() == 0, "run with TZ=UTC, as ctest does");
}

QByteArray TestExportFormats::exported(const QString& format, const QList<_MsgMessage*>& messages)
{
    const QString path = dir.filePath(QStringLiteral("out.") + format);
    QFile stale(path);
    if (stale.open(QIODevice::WriteOnly))
        stale.write(QByteArray(5000, 'x')); // a longer older export is replaced
    stale.close();
    Exporter exporter = exporterFor(format, path);
    exporter->begin();
    for (const _MsgMessage* message : messages)
        exporter->write(*message);
    exporter->end();
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void TestExportFormats::lines_data()
{
    QTest::addColumn<int>("chatKind");
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("itemType");
    QTest::addColumn<bool>("fromMe");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("txtRest"); // the text line after the date column
    QTest::addColumn<QString>("csvRest"); // the CSV line after the date

    const QString ann = padded(QStringLiteral("Ann"), 40);
    const QString longName(45, QLatin1Char('N'));
    addLine("received", One, "Zoë", 0, false, "héllo", "From  " + padded("Zoë", 40) + "héllo",
            ",0,Zoë,+4411,héllo");
    addLine("sent, no name", One, "", 0, true, "hi", "To    " + padded("+4411", 40) + "hi", ",1,,+4411,hi");
    addLine("system message", One, "Ann", 3, false, "",
            "      " + ann + "Ann left the conversation. 06 Jan 2020 10:40 AM",
            ",0,Ann,+4411,\"Ann left the conversation.\r\n06 Jan 2020 10:40 AM\"");
    addLine("long name", One, longName, 0, false, "x", "From  " + longName + "x",
            ",0," + longName + ",+4411,x");
    addLine("comma and quotes", One, "Smith, Ann", 0, false, "He said \"hi\", then left",
            "From  " + padded("Smith, Ann", 40) + "He said \"hi\", then left",
            ",0,\"Smith, Ann\",+4411,\"He said \"\"hi\"\", then left\"");
    addLine("line breaks", One, "Ann", 0, false, "a\nb\r\nc", "From  " + ann + "a b c",
            ",0,Ann,+4411,\"a\r\nb\r\r\nc\"");
    addLine("lone CR", One, "Ann", 0, false, "a\rb", "From  " + ann + "ab", ",0,Ann,+4411,\"a\rb\"");
    addLine("group", Group, "Ann", 0, false, "hey", "From  " + padded("Ann, Bob", 40) + "hey",
            ",0,group-7,group-7,hey");
    addLine("no conversation", None, "Ann", 0, true, "hey", "To    " + padded("Unknown", 40) + "hey",
            ",1,,,hey");
}

void TestExportFormats::lines()
{
    QFETCH(int, chatKind);
    QFETCH(QString, name);
    QFETCH(int, itemType);
    QFETCH(bool, fromMe);
    QFETCH(QString, text);
    QFETCH(QString, txtRest);
    QFETCH(QString, csvRest);
    Records r;
    _MsgHandle* ann = r.handle(QStringLiteral("+4411"), name);
    _MsgChat* chat = chatKind == None ? nullptr : r.singleChat(ann);
    if (chatKind == Group)
        chat = r.chat(QStringLiteral("SMS;-;group-7"), {ann, r.handle(QStringLiteral("+4412"), "Bob")});
    _MsgMessage* message = r.message(chat, ann, kDate, fromMe, text, itemType);

    QCOMPARE(QString::fromUtf8(exported(QStringLiteral("txt"), {message})),
             "Date                          Flag  Name                                    Message\r\n" +
                 padded(shortDate(), 30) + txtRest + "\r\n");
    QCOMPARE(QString::fromUtf8(exported(QStringLiteral("csv"), {message})),
             "date,send,person,number,content\r\n2020-01-06 10:40:00" + csvRest + "\r\n");
}

void TestExportFormats::html()
{
    Records r;
    _MsgHandle* ann = r.handle(QStringLiteral("+4411"), QStringLiteral("Ann"));
    _MsgChat* chat = r.singleChat(ann);
    chat->display_name = QStringLiteral("R&D <team> 100%2");
    const QList<_MsgMessage*> messages = {
        r.message(chat, nullptr, kDate, true, QStringLiteral("a < b\nline two")),
        r.message(chat, ann, kDate, false, QStringLiteral("Tom &amp; Jerry"))};
    const QByteArray bytes = exported(QStringLiteral("html"), messages);

    const QString date = shortDate();
    const QString header =
        "<!DOCTYPE html PUBLIC \"-//W3C//DTD XHTML 1.0 Transitional//EN\" "
        "\"http://www.w3.org/TR/xhtml1/DTD/xhtml1-transitional.dtd\">"
        "<html xmlns=\"http://www.w3.org/1999/xhtml\"><head><meta http-equiv=\"Content-Type\" "
        "content=\"text/html; charset=utf-8\" /><title>Textferry</title></head><body>";
    const QString sent =
        "<a name=\"sms3\"></a><div style=\"color:#008040;font-size:16px;\"><div>" + date +
        "</div><div>To: R&amp;D &lt;team&gt; 100%2</div></div><div style=\"font-size:14px;\">"
        "a &lt; b<br/>line two</div><br/><br/>\r\n";
    const QString received =
        "<a name=\"sms4\"></a><div style=\"color:#0000FF;font-size:16px;\"><div>" + date +
        "</div><div>From: R&amp;D &lt;team&gt; 100%2</div></div><div style=\"font-size:14px;\">"
        "Tom &amp;amp; Jerry</div><br/><br/>\r\n";
    QCOMPARE(QString::fromUtf8(bytes), header + sent + received + "</body></html>");

    QXmlStreamReader xml(bytes); // well-formed XML with the XHTML document type
    QString publicId;
    while (!xml.atEnd()) {
        if (xml.readNext() == QXmlStreamReader::DTD)
            publicId = xml.dtdPublicId().toString();
    }
    QCOMPARE(publicId, QStringLiteral("-//W3C//DTD XHTML 1.0 Transitional//EN"));
    QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
}

namespace {
const QUuid kBackupSet(QStringLiteral("{0f8fad5b-d9cb-469f-a165-70867728950e}"));
constexpr qint64 kBackupDate = 1700000000123;

QByteArray xmlExport(const QString& path, qint64 count, const QList<_MsgMessage*>& messages)
{
    ExportMessagesXml exporter(path, count, kBackupSet, kBackupDate);
    exporter.begin();
    for (const _MsgMessage* message : messages)
        exporter.write(*message);
    exporter.end();
    return StoreTestKit::fileBytes(path);
}
} // namespace

// One sent message with everything that needs escaping, one received from a
// correspondent without a name and with the place of an attachment; the
// system message between them is no SMS.
void TestExportFormats::xmlBytes()
{
    Records r;
    _MsgHandle* ann = r.handle(QStringLiteral("+15550000001"), QStringLiteral("Ann & Co"));
    _MsgHandle* unnamed = r.handle(QStringLiteral("0207 946 0000"));
    _MsgMessage* sent = r.message(r.singleChat(ann), ann, kDate, true,
                                  QStringLiteral("Hi \U0001F600\nsay \"yes\" <&> it's\tdone\x01!"));
    _MsgMessage* system = r.message(r.singleChat(ann), ann, kDate, false, QString(), 3);
    _MsgMessage* received =
        r.message(r.singleChat(unnamed), unnamed, kDate + 5 * 3600 + 5, false, QStringLiteral("ok\uFFFC"));
    received->set_subject(QStringLiteral("Re: <plans>"));
    const QString path = dir.filePath(QStringLiteral("backup.xml"));

    const QByteArray expected =
        "<?xml version='1.0' encoding='UTF-8' standalone='yes' ?>\n"
        "<smses count=\"2\" backup_set=\"0f8fad5b-d9cb-469f-a165-70867728950e\" "
        "backup_date=\"1700000000123\" type=\"full\">\n"
        "  <sms protocol=\"0\" address=\"+15550000001\" date=\"1578307200000\" type=\"2\" subject=\"null\" "
        "body=\"Hi \xF0\x9F\x98\x80&#10;say &quot;yes&quot; &lt;&amp;&gt; it&apos;s&#9;done\xEF\xBF\xBD!\" "
        "toa=\"null\" sc_toa=\"null\" service_center=\"null\" read=\"1\" status=\"-1\" locked=\"0\" "
        "date_sent=\"0\" sub_id=\"-1\" readable_date=\"Jan 6, 2020 10:40:00 AM\" "
        "contact_name=\"Ann &amp; Co\" />\n"
        "  <sms protocol=\"0\" address=\"0207 946 0000\" date=\"1578325205000\" type=\"1\" "
        "subject=\"Re: &lt;plans&gt;\" body=\"ok\" toa=\"null\" sc_toa=\"null\" service_center=\"null\" "
        "read=\"1\" status=\"-1\" locked=\"0\" date_sent=\"0\" sub_id=\"-1\" "
        "readable_date=\"Jan 6, 2020 3:40:05 PM\" contact_name=\"(Unknown)\" />\n"
        "</smses>\n";
    QCOMPARE(xmlExport(path, 2, {sent, system, received}), expected);

    // A count that does not match what was written fails the export.
    QVERIFY_THROWS_EXCEPTION(std::runtime_error, xmlExport(path, 3, {sent, system, received}));
    QVERIFY_THROWS_EXCEPTION(std::runtime_error, xmlExport(path, 1, {sent, system, received}));
}

// What an XML reader makes of the file: every value as it was.
void TestExportFormats::xmlReadsBack()
{
    Records r;
    _MsgHandle* ann = r.handle(QStringLiteral("+447700900123"), QStringLiteral("Zoë \u201cZ\u201d"));
    _MsgChat* chat = r.singleChat(ann);
    const QString text =
        QStringLiteral("\U0001F44D\U0001F3FD ok\r\nnext line\t\"<a href='x'>&amp;</a>\" \u4f60\u597d");
    const QList<_MsgMessage*> messages = {r.message(chat, nullptr, kDate, true, text),
                                          r.message(chat, ann, -50155200, false, QStringLiteral("\n"))};
    QXmlStreamReader xml(xmlExport(dir.filePath(QStringLiteral("read.xml")), 2, messages));
    QStringList rows;
    QString count;
    QStringList names;
    while (xml.readNextStartElement()) {
        if (xml.name() == QLatin1String("smses")) {
            count = xml.attributes().value(QLatin1String("count")).toString();
            continue; // into the children
        }
        const QXmlStreamAttributes a = xml.attributes();
        names.clear();
        for (const QXmlStreamAttribute& attribute : a)
            names << attribute.name().toString();
        rows << QStringList{a.value(QLatin1String("address")).toString(),
                            a.value(QLatin1String("date")).toString(),
                            a.value(QLatin1String("type")).toString(),
                            a.value(QLatin1String("body")).toString(),
                            a.value(QLatin1String("contact_name")).toString()}
                    .join(QLatin1Char('|'));
        xml.skipCurrentElement();
    }
    while (!xml.atEnd())
        xml.readNext();
    QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
    QCOMPARE(count, QStringLiteral("2"));
    QCOMPARE(rows, (QStringList{"+447700900123|1578307200000|2|" + text + "|Zoë \u201cZ\u201d",
                                "+447700900123|928152000000|1|\n|Zoë \u201cZ\u201d"}));
    QCOMPARE(names, (QStringList{"protocol", "address", "date", "type", "subject", "body", "toa", "sc_toa",
                                 "service_center", "read", "status", "locked", "date_sent", "sub_id",
                                 "readable_date", "contact_name"}));
}

// Without an identifier and a date of its own, each backup gets a new
// identifier and the time it was made.
void TestExportFormats::xmlHeaderIsFresh()
{
    QStringList sets;
    for (const QString& name : {QStringLiteral("a.xml"), QStringLiteral("b.xml")}) {
        const qint64 before = QDateTime::currentMSecsSinceEpoch();
        ExportMessagesXml exporter(dir.filePath(name), 0);
        exporter.begin();
        exporter.end();
        const qint64 after = QDateTime::currentMSecsSinceEpoch();
        QXmlStreamReader xml(StoreTestKit::fileBytes(dir.filePath(name)));
        QVERIFY(xml.readNextStartElement());
        const qint64 date = xml.attributes().value(QLatin1String("backup_date")).toLongLong();
        QVERIFY2(date >= before && date <= after, qPrintable(QString::number(date)));
        sets << xml.attributes().value(QLatin1String("backup_set")).toString();
        QVERIFY(!QUuid::fromString(sets.last()).isNull());
        QCOMPARE(xml.attributes().value(QLatin1String("count")).toString(), QStringLiteral("0"));
    }
    QVERIFY(sets.first() != sets.last());
}

void TestExportFormats::xmlEscaping_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("markup") << "a&b<c>d\"e'f" << QByteArray("a&amp;b&lt;c&gt;d&quot;e&apos;f");
    QTest::newRow("already an entity") << "&amp;" << QByteArray("&amp;amp;");
    QTest::newRow("tab, LF, CR") << "\t\n\r" << QByteArray("&#9;&#10;&#13;");
    const QByteArray fffd = "\xEF\xBF\xBD";
    QTest::newRow("other controls become U+FFFD, DEL a reference")
        << QString(QString(QChar(0)) + "\x1b\x1f\x7f~") << fffd + fffd + fffd + "&#127;~";
    QTest::newRow("U+FFFE and U+FFFF become U+FFFD, U+FDD0 stays")
        << QStringLiteral("\uFFFE\uFFFF\uFDD0") << fffd + fffd + "\xEF\xB7\x90";
    QTest::newRow("accents and CJK") << "é\u4f60" << QByteArray("\xC3\xA9\xE4\xBD\xA0");
    QTest::newRow("emoji beyond the BMP")
        << "\U0001F600\U0001F1EC\U0001F1E7" << QByteArray("\xF0\x9F\x98\x80\xF0\x9F\x87\xAC\xF0\x9F\x87\xA7");
    QTest::newRow("lone high surrogate")
        << QString(QString(QChar(0xD83D)) + "x") << QByteArray("\xEF\xBF\xBDx");
    QTest::newRow("high surrogate at the end")
        << QString("x" + QString(QChar(0xD83D))) << QByteArray("x\xEF\xBF\xBD");
    QTest::newRow("lone low surrogate") << QString(QChar(0xDE00)) << QByteArray("\xEF\xBF\xBD");
    QTest::newRow("pair the wrong way round")
        << QString(QString(QChar(0xDE00)) + QChar(0xD83D)) << QByteArray("\xEF\xBF\xBD\xEF\xBF\xBD");
    QTest::newRow("C1 control and U+FFFD kept") << "\u0085\uFFFD" << QByteArray("\xC2\x85\xEF\xBF\xBD");
}

void TestExportFormats::xmlEscaping()
{
    QFETCH(QString, value);
    QFETCH(QByteArray, bytes);
    QCOMPARE(ExportMessagesXml::escaped(value), bytes);
}

// A strict XML 1.0 parser (Python's) reads a backup whose texts held every
// character XML forbids: tab, line feed and carriage return come back, the
// others as U+FFFD.
void TestExportFormats::xmlEveryStrictReaderTakesIt()
{
    QString text;
    QString expected;
    for (char16_t c = 0; c < 0x20; ++c) {
        text += QChar(c);
        expected += c == u'\t' || c == u'\n' || c == u'\r' ? QChar(c) : QChar(QChar::ReplacementCharacter);
    }
    text += QStringLiteral("\x7f\uFFFE\uFFFF") + QChar(0xD800) + QStringLiteral("|\uFDD0\U0001F600");
    expected += QStringLiteral("\x7f\uFFFD\uFFFD\uFFFD|\uFDD0\U0001F600");
    Records r;
    _MsgHandle* ann = r.handle(QStringLiteral("+15550000001"), text);
    const QString path = dir.filePath(QStringLiteral("strict.xml"));
    xmlExport(path, 1, {r.message(r.singleChat(ann), ann, kDate, true, text)});

    QProcess python;
    python.setProcessEnvironment([] {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("PYTHONIOENCODING"), QStringLiteral("utf-8"));
        return env;
    }());
    python.start(QStringLiteral("python3"),
                 {QStringLiteral("-c"),
                  QStringLiteral("import sys, xml.etree.ElementTree as E\n"
                                 "sms = E.parse(sys.argv[1]).getroot()[0]\n"
                                 "sys.stdout.write(sms.get('body') + '|' + sms.get('contact_name'))"),
                  path});
    QVERIFY2(python.waitForFinished(30000), "python3 did not run");
    QVERIFY2(python.exitCode() == 0, python.readAllStandardError().constData());
    QCOMPARE(QString::fromUtf8(python.readAllStandardOutput()), expected + QLatin1Char('|') + expected);
}

void TestExportFormats::xmlReadableDate_data()
{
    QTest::addColumn<int>("date");
    QTest::addColumn<QString>("readable");
    QTest::newRow("afternoon") << 818348645 << "Dec 7, 2026 3:04:05 PM";
    QTest::newRow("just after midnight") << 730944309 << "Mar 1, 2024 12:05:09 AM";
    QTest::newRow("noon, before 2001") << -50155200 << "May 31, 1999 12:00:00 PM";
}

// English whatever the user's language.
void TestExportFormats::xmlReadableDate()
{
    QFETCH(int, date);
    QFETCH(QString, readable);
    const QLocale saved;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    const QString made = ExportMessagesXml::readableDate(date);
    QLocale::setDefault(saved);
    QCOMPARE(made, readable);
}

namespace {
QByteArray generatedBytes(quint32 seed)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    XmlBackupGenerator({600, seed}).write(buffer);
    return buffer.data();
}

// The generator writes an emoji as the app does, one reference per UTF-16
// half, which no XML reader takes: the halves joined again, as an importer must.
QString withSurrogatesJoined(const QString& text, int* pairs)
{
    static const QRegularExpression pair(QStringLiteral("&#(5[56]\\d\\d\\d);&#(5[67]\\d\\d\\d);"));
    QString joined;
    qsizetype from = 0;
    for (const QRegularExpressionMatch& m : pair.globalMatch(text)) {
        joined += QStringView(text).mid(from, m.capturedStart() - from);
        joined += QChar(m.captured(1).toUShort());
        joined += QChar(m.captured(2).toUShort());
        from = m.capturedEnd();
        ++*pairs;
    }
    return joined + QStringView(text).mid(from);
}
} // namespace

// The generator's files: the same bytes for the same seed, as many records as
// the root says, the types and the MMS with their parts and addresses.
void TestExportFormats::generatedBackup()
{
    const QByteArray bytes = generatedBytes(5);
    QCOMPARE(generatedBytes(5), bytes);
    QVERIFY(generatedBytes(6) != bytes);

    int pairs = 0;
    QXmlStreamReader xml(withSurrogatesJoined(QString::fromUtf8(bytes), &pairs));
    QVERIFY(pairs > 0);
    QVERIFY(xml.readNextStartElement());
    QCOMPARE(xml.attributes().value(QLatin1String("count")).toString(), QStringLiteral("600"));
    QMap<QString, int> kinds; // "sms 1", "mms", "mms part text/plain", "mms addr 137", ...
    QSet<QString> addresses;
    while (xml.readNextStartElement()) {
        const QXmlStreamAttributes a = xml.attributes();
        if (xml.name() == QLatin1String("sms")) {
            ++kinds[QStringLiteral("sms ") + a.value(QLatin1String("type"))];
            addresses << a.value(QLatin1String("address")).toString();
            QCOMPARE(int(a.size()), 16);
            xml.skipCurrentElement();
            continue;
        }
        QCOMPARE(xml.name().toString(), QStringLiteral("mms"));
        ++kinds[QStringLiteral("mms")];
        while (xml.readNextStartElement()) { // parts, addrs
            while (xml.readNextStartElement()) {
                const QString detail =
                    xml.name() == QLatin1String("part") ? QStringLiteral("ct") : QStringLiteral("type");
                ++kinds[QStringLiteral("mms %1 %2").arg(xml.name(), xml.attributes().value(detail))];
                xml.skipCurrentElement();
            }
        }
    }
    while (!xml.atEnd())
        xml.readNext();
    QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
    int total = kinds.value(QStringLiteral("mms"));
    for (int type = 1; type <= 6; ++type)
        total += kinds.value(QStringLiteral("sms %1").arg(type));
    QCOMPARE(total, 600);
    QVERIFY(kinds.value(QStringLiteral("sms 1")) > 200 && kinds.value(QStringLiteral("sms 2")) > 200);
    QVERIFY(kinds.value(QStringLiteral("mms")) >= 10);
    QCOMPARE(kinds.value(QStringLiteral("mms part text/plain")), kinds.value(QStringLiteral("mms")));
    QCOMPARE(kinds.value(QStringLiteral("mms addr 137")), kinds.value(QStringLiteral("mms")));
    QVERIFY(addresses.size() > 100);
}

void TestExportFormats::faults_data()
{
    QTest::addColumn<QString>("format");
    QTest::newRow("txt") << "txt";
    QTest::newRow("csv") << "csv";
    QTest::newRow("html") << "html";
    QTest::newRow("xml") << "xml";
}

// A file that cannot be opened fails begin() with its path and the system's
// reason; data that cannot be written fails end(), saying the disk is full.
void TestExportFormats::faults()
{
    QFETCH(QString, format);
    const QString missing = dir.filePath(QStringLiteral("no/such/folder/out"));
    QFile probe(missing);
    QVERIFY(!probe.open(QIODevice::WriteOnly));
    try {
        exporterFor(format, missing)->begin();
        QFAIL("begin() did not throw");
    } catch (const std::runtime_error& e) {
        QCOMPARE(QString::fromUtf8(e.what()),
                 QStringLiteral("can not write %1: %2.").arg(missing, probe.errorString()));
    }

    if (!QFile::exists(QStringLiteral("/dev/full")))
        QSKIP("no /dev/full to stand for a full disk");
    Exporter full = exporterFor(format, QStringLiteral("/dev/full"));
    full->begin();
    full->write(_MsgMessage());
    try {
        full->end();
        QFAIL("end() did not throw");
    } catch (const std::runtime_error& e) {
        QVERIFY2(QString::fromUtf8(e.what()).startsWith(
                     QStringLiteral("can not write /dev/full: the disk is full")),
                 e.what());
    }
}

QTEST_GUILESS_MAIN(TestExportFormats)
#include "test_export_formats.moc"
