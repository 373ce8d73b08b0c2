// The bytes of the text, CSV and HTML exports.
#include "StoreTestKit.h"

#include "export/ExportMessagesCsv.h"
#include "export/ExportMessagesTxt.h"
#include "export/ExportSMSHtml.h"
#include "store/StoredDate.h"

#include <QFile>
#include <QLocale>
#include <QTemporaryDir>
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

void TestExportFormats::faults_data()
{
    QTest::addColumn<QString>("format");
    QTest::newRow("txt") << "txt";
    QTest::newRow("csv") << "csv";
    QTest::newRow("html") << "html";
}

// A file that cannot be opened fails begin() with the system's reason; data
// that cannot be written fails end().
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
        QCOMPARE(QString::fromUtf8(e.what()), probe.errorString());
    }

    if (!QFile::exists(QStringLiteral("/dev/full")))
        QSKIP("no /dev/full to stand for a full disk");
    Exporter full = exporterFor(format, QStringLiteral("/dev/full"));
    full->begin();
    full->write(_MsgMessage());
    QVERIFY_THROWS_EXCEPTION(std::runtime_error, full->end());
}

QTEST_GUILESS_MAIN(TestExportFormats)
#include "test_export_formats.moc"
