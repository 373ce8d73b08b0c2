// The command line: import and export without a window, exit statuses and
// what goes to standard output and error, and a round trip through the XML
// backup format that keeps every message.
#include "tests/kit/TestHome.h"

#include "base/AppDirs.h"
#include "base/AppInfo.h"
#include "store/IOS6MessageDb.h"
#include "store/MessageHash.h"
#include "store/MessageSet.h"
#include "store/MsgHandle.h"
#include "store/MsgMessage.h"

#include <QProcess>
#include <QtTest>

namespace {

struct Run
{
    int status = -1;
    QString out;
    QString err;
};

// The program run with the arguments; extra variables added to its environment.
Run textferry(const QStringList& arguments, const QStringList& environment = {})
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const QString& variable : environment)
        env.insert(variable.section(QLatin1Char('='), 0, 0), variable.section(QLatin1Char('='), 1));
    process.setProcessEnvironment(env);
    process.start(QStringLiteral(TEXTFERRY_EXE), arguments);
    Run run;
    if (!process.waitForFinished(120000) || process.exitStatus() != QProcess::NormalExit)
        return run;
    run.status = process.exitCode();
    run.out = QString::fromUtf8(process.readAllStandardOutput());
    run.err = QString::fromUtf8(process.readAllStandardError());
    return run;
}

// Every message of a local database as one comparable line each.
QStringList messageLines(const QString& name)
{
    MessageSet set;
    IOS6MessageDb(QDir(localDbDir().absoluteFilePath(name)), QString()).readMessages(set, 0);
    QStringList lines;
    for (const _MsgMessage* m : set.messages) {
        lines << QStringList{logicHash(*m), QString::number(m->date), QString::number(m->is_from_me),
                             m->handle ? m->handle->id : QString(), m->text}
                     .join(QLatin1Char('|'));
    }
    lines.sort();
    return lines;
}

const QByteArray kBackup =
    "<?xml version='1.0' encoding='UTF-8' standalone='yes' ?>\n<smses count=\"5\">\n"
    "<sms protocol=\"0\" address=\"+1 555 010 0001\" date=\"1700000000999\" type=\"1\" subject=\"null\" "
    "body=\"Emoji &#55357;&#56832; and &#10;a second line\" contact_name=\"Ann\" />\n"
    "<sms protocol=\"0\" address=\"+15550100001\" date=\"1700000060000\" type=\"2\" subject=\"null\" "
    "body=\"&quot;Quoted&quot; &lt;&amp;&gt; tab&#9;end\" contact_name=\"Ann\" />\n"
    "<mms date=\"1700000070000\"><parts /></mms>\n"
    "<sms protocol=\"0\" address=\"MyBank\" date=\"1700000120000\" type=\"1\" subject=\"null\" "
    "body=\"\u05e9\u05dc\u05d5\u05dd \u4f60\u597d \U0001F44B\U0001F3FD\" contact_name=\"(Unknown)\" />\n"
    "</smses>\n";

} // namespace

class TestCommandLine : public QObject
{
    Q_OBJECT

private slots:
    void versionAndHelpTouchNoData();
    void roundTripThroughXmlKeepsEveryMessage();
    void everyExportFormat_data();
    void everyExportFormat();
    void failuresSayWhyAndExitNonZero_data();
    void failuresSayWhyAndExitNonZero();
    void exportTakesTheWindowsOrder_data();
    void exportTakesTheWindowsOrder();
    void emptyDatabaseExportsNothing_data();
    void emptyDatabaseExportsNothing();
    void countryOfTheNumbers_data();
    void countryOfTheNumbers();

private:
    QString writeFile(const QString& name, const QByteArray& content);

    TestHome home; // the program started from here finds the same data folder
};

QString TestCommandLine::writeFile(const QString& name, const QByteArray& content)
{
    const QString path = home.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(content) != content.size())
        qFatal("can't write %s", qPrintable(path));
    return path;
}

void TestCommandLine::versionAndHelpTouchNoData()
{
    const Run version = textferry({QStringLiteral("--version")});
    QCOMPARE(version.status, 0);
    QCOMPARE(version.out, QStringLiteral("textferry %1\n").arg(QLatin1String(AppInfo::kVersion)));
    const Run help = textferry({QStringLiteral("--help")});
    QCOMPARE(help.status, 0);
    QVERIFY(help.out.contains(QLatin1String("import-xml FILE --into NAME")));
    QVERIFY(help.out.contains(QLatin1String("--descending")));
    QCOMPARE(QDir(home.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
             QStringList());
}

void TestCommandLine::roundTripThroughXmlKeepsEveryMessage()
{
    const QString backup = writeFile(QStringLiteral("phone.xml"), kBackup);
    const Run imported = textferry(
        {QStringLiteral("import-xml"), backup, QStringLiteral("--into"), QStringLiteral("Phone A")});
    QCOMPARE(imported.status, 0);
    QCOMPARE(imported.out, QStringLiteral("Imported 3 SMS. Already in the database: 0. MMS skipped: 1. "
                                          "Unusable elements skipped: 0.\n"));
    // No terminal: no progress, only what the program decided.
    QVERIFY2(!imported.err.contains(QLatin1Char('%')), qPrintable(imported.err));
    QVERIFY2(imported.err.contains(QLatin1String("international numbers: United States (US).")),
             qPrintable(imported.err));
    const QStringList original = messageLines(QStringLiteral("Phone A"));
    QCOMPARE(original.size(), 3);

    // A name that differs only in case names the same database.
    const QString exported = home.filePath(QStringLiteral("again.xml"));
    const Run out =
        textferry({QStringLiteral("export"), QStringLiteral("phone a"), QStringLiteral("--format"),
                   QStringLiteral("xml"), QStringLiteral("--out"), exported});
    QCOMPARE(out.status, 0);
    QVERIFY(out.out.endsWith(exported + QLatin1Char('\n')));

    // Options may come before the command.
    const Run back = textferry(
        {QStringLiteral("--into"), QStringLiteral("Phone B"), QStringLiteral("import-xml"), exported});
    QCOMPARE(back.status, 0);
    QCOMPARE(messageLines(QStringLiteral("Phone B")), original);
    // Into the first database again: every message is already there.
    const Run again = textferry(
        {QStringLiteral("import-xml"), exported, QStringLiteral("--into"), QStringLiteral("Phone A")});
    QVERIFY(again.out.startsWith(QLatin1String("Imported 0 SMS. Already in the database: 3.")));
}

void TestCommandLine::everyExportFormat_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<QString>("written"); // the name the output gets from "out"
    QTest::newRow("txt") << "txt"
                         << "out.txt";
    QTest::newRow("doc") << "doc"
                         << "out.doc";
    QTest::newRow("csv") << "csv"
                         << "out.csv";
    QTest::newRow("html") << "html"
                          << "out-html";
    QTest::newRow("pdf") << "PDF"
                         << "out-pdf";
}

void TestCommandLine::everyExportFormat()
{
    QFETCH(QString, format);
    QFETCH(QString, written);
    textferry({QStringLiteral("import-xml"), writeFile(QStringLiteral("phone.xml"), kBackup),
               QStringLiteral("--into"), QStringLiteral("Formats")});
    const QString target = home.filePath(written);
    const Run run = textferry({QStringLiteral("export"), QStringLiteral("Formats"),
                               QStringLiteral("--format"), format, QStringLiteral("--out"),
                               home.filePath(QStringLiteral("out")), QStringLiteral("--descending")});
    QCOMPARE(run.status, 0);
    QCOMPARE(run.out.split(QLatin1Char('\n')).value(1), target);
    QVERIFY(QFileInfo::exists(target));
}

void TestCommandLine::failuresSayWhyAndExitNonZero_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("error");
    const QString notXml = QStringLiteral("not-xml.txt");
    QTest::newRow("missing file") << QStringList{"import-xml", "nowhere.xml", "--into", "X"} << 1
                                  << "Can't find the file nowhere.xml.";
    QTest::newRow("not XML") << QStringList{"import-xml", notXml, "--into", "Kept"} << 1
                             << "not a readable XML backup";
    QTest::newRow("unusable name") << QStringList{"import-xml", notXml, "--into", "a/b"} << 2
                                   << "can't be the name of a local database";
    QTest::newRow("no target") << QStringList{"import-xml", notXml} << 2 << "usage: textferry import-xml";
    QTest::newRow("unknown database") << QStringList{"export", "Nope", "--format", "csv", "--out", "x"} << 1
                                      << "There is no local database named Nope.";
    QTest::newRow("unknown format") << QStringList{"export", "Kept", "--format", "zip", "--out", "x"} << 2
                                    << "Unknown format zip";
    QTest::newRow("unknown option") << QStringList{"export", "--colour"} << 2 << "Unknown option 'colour'";
    QTest::newRow("unknown command") << QStringList{"lsit"} << 2 << "Unknown command lsit.\nusage: textferry";
    QTest::newRow("mistyped command") << QStringList{"imprt-xml", notXml, "--into", "X"} << 2
                                      << "Unknown command imprt-xml.\nusage: textferry";
    QTest::newRow("options without a command")
        << QStringList{"--into", "X"} << 2 << "No command given.\nusage: textferry";
    QTest::newRow("empty --out") << QStringList{"export", "Kept", "--format", "csv", "--out", ""} << 2
                                 << "--out needs a path.";
    QTest::newRow("hidden name") << QStringList{"import-xml", notXml, "--into", ".hidden"} << 2
                                 << "\".hidden\" can't be the name of a local database";
    QTest::newRow("unknown country") << QStringList{"import-xml", notXml, "--into", "X", "--country", "ZZ"}
                                     << 2 << "Unknown country ZZ";
}

void TestCommandLine::failuresSayWhyAndExitNonZero()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, status);
    QFETCH(QString, error);
    QDir::setCurrent(home.path());
    writeFile(QStringLiteral("not-xml.txt"), "plain text\n");
    const QDir databases = localDbDir();
    const auto entries = [&databases] {
        return databases.entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
    };
    const QStringList before = entries();
    const Run run = textferry(arguments);
    QCOMPARE(run.status, status);
    QCOMPARE(run.out, QString());
    QVERIFY2(run.err.contains(QLatin1String("textferry: ")) && run.err.contains(error), qPrintable(run.err));
    // A failed import into a new name leaves no database behind.
    QCOMPARE(entries(), before);
}

namespace {
// A backup whose order in the file is not the order of the dates.
const QByteArray kShuffled =
    "<?xml version='1.0' encoding='UTF-8' standalone='yes' ?>\n<smses>\n"
    "<sms address=\"+15550100001\" date=\"1700007200000\" type=\"1\" body=\"third\" />\n"
    "<sms address=\"+15550100002\" date=\"1700000000000\" type=\"2\" body=\"first\" />\n"
    "<sms address=\"+15550100001\" date=\"1700003600000\" type=\"1\" body=\"second\" />\n"
    "</smses>\n";

// The texts in the order the file holds them.
QStringList orderIn(const QString& path, const QStringList& texts)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray content = file.readAll();
    QStringList found = texts;
    std::sort(found.begin(), found.end(), [&content](const QString& a, const QString& b) {
        return content.indexOf(a.toUtf8()) < content.indexOf(b.toUtf8());
    });
    return found;
}
} // namespace

void TestCommandLine::exportTakesTheWindowsOrder_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<bool>("descending");
    for (const char* format : {"txt", "csv", "xml"}) {
        QTest::addRow("%s, oldest first", format) << QString::fromLatin1(format) << false;
        QTest::addRow("%s, newest first", format) << QString::fromLatin1(format) << true;
    }
}

void TestCommandLine::exportTakesTheWindowsOrder()
{
    QFETCH(QString, format);
    QFETCH(bool, descending);
    textferry({QStringLiteral("import-xml"), writeFile(QStringLiteral("shuffled.xml"), kShuffled),
               QStringLiteral("--into"), QStringLiteral("Shuffled")});
    const QString out = home.filePath(QStringLiteral("ordered.") + format);
    QStringList arguments{QStringLiteral("export"),   QStringLiteral("Shuffled"),
                          QStringLiteral("--format"), format,
                          QStringLiteral("--out"),    out};
    if (descending)
        arguments << QStringLiteral("--descending");
    QCOMPARE(textferry(arguments).status, 0);
    QStringList expected{"first", "second", "third"};
    if (descending)
        std::reverse(expected.begin(), expected.end());
    QCOMPARE(orderIn(out, expected), expected);
}

void TestCommandLine::emptyDatabaseExportsNothing_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<QString>("written");
    QTest::newRow("csv") << "csv"
                         << "empty.csv";
    QTest::newRow("xml") << "xml"
                         << "empty.xml";
    QTest::newRow("pdf") << "pdf"
                         << "empty-pdf";
}

void TestCommandLine::emptyDatabaseExportsNothing()
{
    QFETCH(QString, format);
    QFETCH(QString, written);
    const QByteArray empty =
        "<?xml version='1.0' encoding='UTF-8' standalone='yes' ?>\n<smses count=\"0\" />\n";
    QCOMPARE(textferry({QStringLiteral("import-xml"), writeFile(QStringLiteral("empty.xml"), empty),
                        QStringLiteral("--into"), QStringLiteral("Empty")})
                 .status,
             0);
    const Run run = textferry({QStringLiteral("export"), QStringLiteral("Empty"), QStringLiteral("--format"),
                               format, QStringLiteral("--out"), home.filePath(QStringLiteral("empty"))});
    QCOMPARE(run.status, 1);
    QCOMPARE(run.out, QString());
    QVERIFY2(run.err.contains(QLatin1String("Nothing to export; no file was written.")), qPrintable(run.err));
    if (format != QLatin1String("xml")) // the backup read above is there
        QVERIFY(!QFileInfo::exists(home.filePath(written)));
}

void TestCommandLine::countryOfTheNumbers_data()
{
    QTest::addColumn<QByteArray>("earlier");    // a backup imported first, when not empty
    QTest::addColumn<QStringList>("addresses"); // of the backup imported then
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QString>("said");    // on standard error
    QTest::addColumn<QStringList>("ids"); // the correspondents afterwards
    const QStringList american{"(234) 567-8910", "+1 234 567 8910", "+1 415 555 0123"};
    QTest::newRow("from the file") << QByteArray() << american << QStringList() << "United States (US)"
                                   << QStringList{"+12345678910", "+14155550123"};
    QTest::newRow("--country") << QByteArray() << american << QStringList{"--country", "de"} << ""
                               << QStringList{"+12345678910", "+14155550123", "2345678910"};
    QTest::newRow("the system's when the file has none")
        << QByteArray() << QStringList{"0151 12345678"} << QStringList{"LC_ALL=de_DE.UTF-8"}
        << "the system's country, Germany (DE)" << QStringList{"+4915112345678"};
    QTest::newRow("a database keeps its country")
        << QByteArray("+447400000001") << QStringList{"07400 000000"} << QStringList{"--country", "US"}
        << "keeps its country, United Kingdom (GB); --country US is not used"
        << QStringList{"+447400000000", "+447400000001"};
}

// The country a new database's numbers are read with, and that a database
// keeps for later imports.
void TestCommandLine::countryOfTheNumbers()
{
    QFETCH(QByteArray, earlier);
    QFETCH(QStringList, addresses);
    QFETCH(QStringList, options);
    QFETCH(QString, said);
    QFETCH(QStringList, ids);
    const auto backup = [](const QStringList& list) -> QByteArray {
        QByteArray content = "<?xml version='1.0' encoding='UTF-8' standalone='yes' ?>\n<smses>\n";
        for (int i = 0; i < list.size(); ++i)
            content += "<sms address=\"" + list.at(i).toUtf8() + "\" date=\"" +
                       QByteArray::number(1700000000000 + i * 60000) + "\" type=\"1\" body=\"" +
                       QByteArray::number(i) + "\" />\n";
        return content + "</smses>\n";
    };
    const QString name = QString::fromLatin1(QTest::currentDataTag());
    if (!earlier.isEmpty())
        textferry({QStringLiteral("import-xml"), writeFile(QStringLiteral("earlier.xml"), backup({earlier})),
                   QStringLiteral("--into"), name});
    QStringList arguments{QStringLiteral("import-xml"),
                          writeFile(QStringLiteral("numbers.xml"), backup(addresses)),
                          QStringLiteral("--into"), name};
    QStringList environment;
    for (const QString& option : options)
        (option.contains(QLatin1Char('=')) ? environment : arguments) << option;
    const Run run = textferry(arguments, environment);
    QCOMPARE(run.status, 0);
    if (said.isEmpty())
        QVERIFY2(!run.err.contains(QLatin1String("country")), qPrintable(run.err));
    else
        QVERIFY2(run.err.contains(said), qPrintable(run.err));
    QStringList stored;
    for (const QString& line : messageLines(name))
        stored << line.section(QLatin1Char('|'), 3, 3);
    stored.removeDuplicates();
    stored.sort();
    QCOMPARE(stored, ids);
}

QTEST_GUILESS_MAIN(TestCommandLine)
#include "test_command_line.moc"
