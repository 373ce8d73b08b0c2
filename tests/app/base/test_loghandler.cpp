#include "app/base/LogHandler.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QSemaphore>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <memory>
#include <vector>

#ifdef Q_OS_UNIX
#include <sys/resource.h>
#include <unistd.h>
#endif

namespace {

// Set in the environment of the child process that logs a fatal message.
const char kFatalChildFolder[] = "TF_TEST_FATAL_LOG_FOLDER";

void createFiles(const QString& folder, const QStringList& names)
{
    QDir().mkpath(folder);
    for (const QString& name : names) {
        QFile file(QDir(folder).absoluteFilePath(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
}

// The one log file in the folder, read whole; empty when there is none.
QString readLogFile(const QString& folder)
{
    const QStringList files = QDir(folder).entryList(QDir::Files);
    if (files.size() != 1)
        return QString();
    QFile file(QDir(folder).absoluteFilePath(files.first()));
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromUtf8(file.readAll());
}

} // namespace

class TestLogHandler : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void formatLogLine_data();
    void formatLogLine();
    void logFileNameCarriesDate();

    void retention_data();
    void retention();
    void retentionIgnoresSubFolders();

    void installThenLogWritesTodaysFile();
    void installRemovesOldestBeforeNewFileExists();
    void linesAreAppendedToExistingFile();
    void debugMessagePrintedToStandardOutput();
    void concurrentLinesNeverInterleave();
    void unwritableFolderLosesLinesOnly();
    void fatalMessageIsWrittenThenAborts();

private:
    QtMessageHandler testLibHandler = nullptr;
    std::unique_ptr<QTemporaryDir> tmp;
};

void TestLogHandler::init()
{
    tmp = std::make_unique<QTemporaryDir>();
    QVERIFY(tmp->isValid());
    // Remember QtTest's own handler so every test function gets it back.
    testLibHandler = qInstallMessageHandler(nullptr);
    qInstallMessageHandler(testLibHandler);
}

void TestLogHandler::cleanup()
{
    qInstallMessageHandler(testLibHandler);
    // Points the handler at a folder of its own so no file of this test stays open.
    installLogHandler(tmp->filePath(QStringLiteral("parked")), 10);
    qInstallMessageHandler(testLibHandler);
    tmp.reset();
}

void TestLogHandler::formatLogLine_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("expected");

    QTest::newRow("debug") << int(QtDebugMsg) << QStringLiteral("hello")
                           << QStringLiteral("(D 14:03:09) hello\n");
    QTest::newRow("warning") << int(QtWarningMsg) << QStringLiteral("w")
                             << QStringLiteral("(W 14:03:09) w\n");
    QTest::newRow("critical") << int(QtCriticalMsg) << QStringLiteral("c")
                              << QStringLiteral("(C 14:03:09) c\n");
    QTest::newRow("fatal") << int(QtFatalMsg) << QStringLiteral("f") << QStringLiteral("(F 14:03:09) f\n");
    QTest::newRow("info is another type")
        << int(QtInfoMsg) << QStringLiteral("i") << QStringLiteral("(14:03:09) i\n");
    QTest::newRow("unknown type") << 7 << QStringLiteral("u") << QStringLiteral("(14:03:09) u\n");
    QTest::newRow("message holding %1") << int(QtWarningMsg) << QStringLiteral("100%1 done %2")
                                        << QStringLiteral("(W 14:03:09) 100%1 done %2\n");
    QTest::newRow("message holding %L1 and %%")
        << int(QtDebugMsg) << QStringLiteral("%L1 %% %99") << QStringLiteral("(D 14:03:09) %L1 %% %99\n");
    QTest::newRow("empty message") << int(QtDebugMsg) << QString() << QStringLiteral("(D 14:03:09) \n");
    QTest::newRow("line break kept") << int(QtCriticalMsg) << QStringLiteral("a\nb")
                                     << QStringLiteral("(C 14:03:09) a\nb\n");
    QTest::newRow("non-Latin text") << int(QtWarningMsg) << QStringLiteral("Zoë 王")
                                    << QStringLiteral("(W 14:03:09) Zoë 王\n");
}

void TestLogHandler::formatLogLine()
{
    QFETCH(int, type);
    QFETCH(QString, message);
    QFETCH(QString, expected);
    QCOMPARE(::formatLogLine(static_cast<QtMsgType>(type), QStringLiteral("14:03:09"), message), expected);
}

void TestLogHandler::logFileNameCarriesDate()
{
    QCOMPARE(logFileName(QDate(2014, 9, 10)), QStringLiteral("log-20140910.txt"));
    QCOMPARE(logFileName(QDate(2024, 12, 31)), QStringLiteral("log-20241231.txt"));
}

void TestLogHandler::retention_data()
{
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<int>("keep");
    QTest::addColumn<QStringList>("remaining");

    QStringList twelve;
    for (int day = 1; day <= 12; ++day)
        twelve << QStringLiteral("log-201409%1.txt").arg(day, 2, 10, QLatin1Char('0'));
    QTest::newRow("twelve: two first go") << twelve << 10 << twelve.mid(2);
    QTest::newRow("ten: none go") << twelve.mid(0, 10) << 10 << twelve.mid(0, 10);
    QTest::newRow("empty folder") << QStringList() << 10 << QStringList();

    const QStringList anyNames{QStringLiteral("zz.log"), QStringLiteral("a-notes"), QStringLiteral("B.txt"),
                               QStringLiteral("log-20140101.txt")};
    // Sorted by name, case-sensitively: "B.txt" < "a-notes" < "log-..." < "zz.log".
    QTest::newRow("any names count") << anyNames << 2
                                     << QStringList{QStringLiteral("log-20140101.txt"),
                                                    QStringLiteral("zz.log")};
    QTest::newRow("keep none") << anyNames << 0 << QStringList();
}

void TestLogHandler::retention()
{
    QFETCH(QStringList, files);
    QFETCH(int, keep);
    QFETCH(QStringList, remaining);

    const QString folder = tmp->filePath(QStringLiteral("qlogs"));
    createFiles(folder, files);
    removeOldLogs(folder, keep);
    QStringList left = QDir(folder).entryList(QDir::Files, QDir::Name);
    std::sort(remaining.begin(), remaining.end());
    std::sort(left.begin(), left.end());
    QCOMPARE(left, remaining);
}

void TestLogHandler::retentionIgnoresSubFolders()
{
    const QString folder = tmp->filePath(QStringLiteral("qlogs"));
    createFiles(folder, {QStringLiteral("b"), QStringLiteral("c")});
    QVERIFY(QDir(folder).mkpath(QStringLiteral("a-folder")));
    removeOldLogs(folder, 1);
    QCOMPARE(QDir(folder).entryList(QDir::Dirs | QDir::NoDotAndDotDot),
             QStringList{QStringLiteral("a-folder")});
    QCOMPARE(QDir(folder).entryList(QDir::Files), QStringList{QStringLiteral("c")});
}

void TestLogHandler::installThenLogWritesTodaysFile()
{
    const QString folder = tmp->filePath(QStringLiteral("data/qlogs"));
    const QString before = logFileName(QDate::currentDate());
    installLogHandler(folder, 10);
    QVERIFY(!QDir(folder).exists()); // created on the first message only
    qWarning("first %s", "line");
    qCritical() << "second";
    const QString after = logFileName(QDate::currentDate());
    qInstallMessageHandler(testLibHandler);

    const QStringList files = QDir(folder).entryList(QDir::Files);
    QCOMPARE(files.size(), 1);
    QVERIFY(files.first() == before || files.first() == after);
    const QStringList lines = readLogFile(folder).split(QLatin1Char('\n'));
    QCOMPARE(lines.size(), 3);
    QVERIFY(lines.at(2).isEmpty()); // the file ends with a line feed
    QVERIFY2(QRegularExpression(QStringLiteral("^\\(W \\d\\d:\\d\\d:\\d\\d\\) first line$"))
                 .match(lines.at(0))
                 .hasMatch(),
             qPrintable(lines.at(0)));
    QVERIFY2(QRegularExpression(QStringLiteral("^\\(C \\d\\d:\\d\\d:\\d\\d\\) second$"))
                 .match(lines.at(1))
                 .hasMatch(),
             qPrintable(lines.at(1)));
}

void TestLogHandler::installRemovesOldestBeforeNewFileExists()
{
    const QString folder = tmp->filePath(QStringLiteral("qlogs"));
    QStringList old;
    for (int i = 0; i < 12; ++i)
        old << QStringLiteral("log-2000%1.txt").arg(i + 101, 4, 10, QLatin1Char('0'));
    createFiles(folder, old);
    installLogHandler(folder, 10);
    QCOMPARE(QDir(folder).entryList(QDir::Files, QDir::Name), old.mid(2));
    qWarning("now");
    qInstallMessageHandler(testLibHandler);
    QCOMPARE(QDir(folder).entryList(QDir::Files).size(), 11);
}

void TestLogHandler::linesAreAppendedToExistingFile()
{
    const QString folder = tmp->filePath(QStringLiteral("qlogs"));
    QDir().mkpath(folder);
    QFile existing(QDir(folder).absoluteFilePath(logFileName(QDate::currentDate())));
    QVERIFY(existing.open(QIODevice::WriteOnly));
    existing.write("earlier run\n");
    existing.close();

    installLogHandler(folder, 10);
    logMessageHandler(QtWarningMsg, "later run");
    qInstallMessageHandler(testLibHandler);

    const QString content = readLogFile(folder);
    QVERIFY2(content.startsWith(QStringLiteral("earlier run\n(W ")), qPrintable(content));
    QVERIFY(content.endsWith(QStringLiteral(") later run\n")));
}

void TestLogHandler::debugMessagePrintedToStandardOutput()
{
#ifdef Q_OS_UNIX
    const QString folder = tmp->filePath(QStringLiteral("qlogs"));
    installLogHandler(folder, 10);
    qInstallMessageHandler(testLibHandler);

    const QString captured = tmp->filePath(QStringLiteral("stdout.txt"));
    std::fflush(stdout);
    const int savedStdout = dup(STDOUT_FILENO);
    FILE* capture = std::fopen(QFile::encodeName(captured).constData(), "w");
    QVERIFY(capture);
    dup2(fileno(capture), STDOUT_FILENO);
    logMessageHandler(QtDebugMsg, "hello %1 debug");
    logMessageHandler(QtWarningMsg, "not printed");
    std::fflush(stdout);
    dup2(savedStdout, STDOUT_FILENO);
    close(savedStdout);
    std::fclose(capture);

    QFile out(captured);
    QVERIFY(out.open(QIODevice::ReadOnly));
    QCOMPARE(out.readAll(), QByteArray("hello %1 debug\n"));
    const QString logged = readLogFile(folder);
    QVERIFY2(QRegularExpression(QStringLiteral("^\\(D \\d\\d:\\d\\d:\\d\\d\\) hello %1 debug\n\\(W "))
                 .match(logged)
                 .hasMatch(),
             qPrintable(logged));
#else
    QSKIP("standard output is captured with POSIX calls");
#endif
}

void TestLogHandler::concurrentLinesNeverInterleave()
{
    constexpr int kThreads = 8;
    constexpr int kLines = 500;
    const QString folder = tmp->filePath(QStringLiteral("qlogs"));
    installLogHandler(folder, 10);

    // All threads start logging at the same moment.
    QSemaphore ready;
    QSemaphore go;
    std::vector<std::unique_ptr<QThread>> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back(QThread::create([t, &ready, &go] {
            // Long enough that a torn write would show.
            const QByteArray padding(64, char('a' + t));
            ready.release();
            go.acquire();
            for (int i = 0; i < kLines; ++i)
                qWarning("thread %d line %d %s", t, i, padding.constData());
        }));
    }
    for (auto& thread : threads)
        thread->start();
    ready.acquire(kThreads);
    go.release(kThreads);
    for (auto& thread : threads)
        QVERIFY(thread->wait(60000));
    qInstallMessageHandler(testLibHandler);

    QStringList lines = readLogFile(folder).split(QLatin1Char('\n'));
    QVERIFY(lines.takeLast().isEmpty());
    QCOMPARE(lines.size(), kThreads * kLines);
    const QRegularExpression shape(
        QStringLiteral("^\\(W \\d\\d:\\d\\d:\\d\\d\\) thread (\\d) line (\\d+) ([a-z])\\3{63}$"));
    QSet<QString> seen;
    QList<int> nextLine(kThreads, 0);
    for (const QString& line : std::as_const(lines)) {
        const QRegularExpressionMatch match = shape.match(line);
        QVERIFY2(match.hasMatch(), qPrintable(line));
        const int thread = match.captured(1).toInt();
        QCOMPARE(match.captured(3).at(0).toLatin1(), char('a' + thread));
        // Each thread's lines come in the order it logged them.
        QCOMPARE(match.captured(2).toInt(), nextLine[thread]++);
    }
    for (int count : std::as_const(nextLine))
        QCOMPARE(count, kLines);
}

void TestLogHandler::unwritableFolderLosesLinesOnly()
{
    // A folder under a plain file can never be created, whoever runs the test.
    const QString blocker = tmp->filePath(QStringLiteral("blocker"));
    createFiles(tmp->path(), {QStringLiteral("blocker")});
    const QString folder = blocker + QStringLiteral("/qlogs");
    installLogHandler(folder, 10);
    qWarning("lost");
    logMessageHandler(QtCriticalMsg, "lost too");
    logMessageHandler(QtWarningMsg, nullptr);
    qInstallMessageHandler(testLibHandler);
    QVERIFY(!QFileInfo::exists(folder));
    QVERIFY(QFileInfo(blocker).isFile());

    // The handler recovers once pointed at a usable folder.
    const QString usable = tmp->filePath(QStringLiteral("usable"));
    installLogHandler(usable, 10);
    qWarning("kept");
    qInstallMessageHandler(testLibHandler);
    QVERIFY(readLogFile(usable).endsWith(QStringLiteral(") kept\n")));
}

void TestLogHandler::fatalMessageIsWrittenThenAborts()
{
    const QString folder = tmp->filePath(QStringLiteral("qlogs"));
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QString::fromLatin1(kFatalChildFolder), folder);
    child.setProcessEnvironment(env);
    child.start(QCoreApplication::applicationFilePath(), {});
    QVERIFY(child.waitForFinished(60000));
    QCOMPARE(child.exitStatus(), QProcess::CrashExit);

    const QString content = readLogFile(folder);
    QVERIFY2(QRegularExpression(QStringLiteral("^\\(W \\d\\d:\\d\\d:\\d\\d\\) before\n"
                                               "\\(F \\d\\d:\\d\\d:\\d\\d\\) the end\n$"))
                 .match(content)
                 .hasMatch(),
             qPrintable(content));
}

// The child of fatalMessageIsWrittenThenAborts(): logs, then dies of qFatal.
static int runFatalChild(const QString& folder)
{
#ifdef Q_OS_UNIX
    const rlimit noCore{0, 0};
    setrlimit(RLIMIT_CORE, &noCore);
#endif
    installLogHandler(folder, 10);
    qWarning("before");
    qFatal("the end");
    return 0;
}

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QString fatalFolder = qEnvironmentVariable(kFatalChildFolder);
    if (!fatalFolder.isEmpty())
        return runFatalChild(fatalFolder);
    TestLogHandler test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_loghandler.moc"
