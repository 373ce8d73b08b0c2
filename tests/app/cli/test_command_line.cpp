// The command line: import and export without a window, exit statuses and
// what goes to standard output and error, and a round trip through the XML
// backup format that keeps every message.
#include "TestHome.h"

#include "app/base/AppDirs.h"
#include "app/base/AppInfo.h"
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

Run textferry(const QStringList& arguments)
{
    QProcess process;
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
    "body=\"&quot;Quoted&quot; &lt;&amp;&gt; tab&#9;bell&#7;\" contact_name=\"Ann\" />\n"
    "<mms date=\"1700000070000\"><parts /></mms>\n"
    "<sms protocol=\"0\" address=\"MyBank\" date=\"1700000120000\" type=\"1\" subject=\"null\" "
    "body=\"\u05e9\u05dc\u05d5\u05dd \u4f60\u597d \U0001F44B\U0001F3FD\" contact_name=\"(Unknown)\" />\n"
    "</smses>\n";

} // namespace

class TestCommandLine : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void versionAndHelpTouchNoData();
    void roundTripThroughXmlKeepsEveryMessage();
    void everyExportFormat_data();
    void everyExportFormat();
    void failuresSayWhyAndExitNonZero_data();
    void failuresSayWhyAndExitNonZero();

private:
    QString writeFile(const QString& name, const QByteArray& content);

    QTemporaryDir home;
};

void TestCommandLine::initTestCase()
{
    QVERIFY(home.isValid());
    prepareTestHome(home); // the program started from here finds the same data folder
}

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
    QVERIFY(imported.err.contains(QLatin1String("100% SMS: 3")));
    const QStringList original = messageLines(QStringLiteral("Phone A"));
    QCOMPARE(original.size(), 3);

    // A name that differs only in case names the same database.
    const QString exported = home.filePath(QStringLiteral("again.xml"));
    const Run out =
        textferry({QStringLiteral("export"), QStringLiteral("phone a"), QStringLiteral("--format"),
                   QStringLiteral("xml"), QStringLiteral("--out"), exported});
    QCOMPARE(out.status, 0);
    QVERIFY(out.out.endsWith(exported + QLatin1Char('\n')));

    const Run back = textferry(
        {QStringLiteral("import-xml"), exported, QStringLiteral("--into"), QStringLiteral("Phone B")});
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
}

void TestCommandLine::failuresSayWhyAndExitNonZero()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, status);
    QFETCH(QString, error);
    QDir::setCurrent(home.path());
    writeFile(QStringLiteral("not-xml.txt"), "plain text\n");
    const Run run = textferry(arguments);
    QCOMPARE(run.status, status);
    QCOMPARE(run.out, QString());
    QVERIFY2(run.err.contains(QLatin1String("textferry: ")) && run.err.contains(error), qPrintable(run.err));
}

QTEST_GUILESS_MAIN(TestCommandLine)
#include "test_command_line.moc"
