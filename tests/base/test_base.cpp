#include "base/AppDirs.h"
#include "base/LogHandler.h"

#include <QFile>
#include <QRegularExpression>
#include <QSemaphore>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <memory>
#include <vector>

namespace {

void writeFile(const QString& path, const QByteArray& content = QByteArray())
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(content);
}

// The one log file in the folder, read whole; empty when there is none.
QString readLogFile(const QString& folder)
{
    const QStringList files = QDir(folder).entryList(QDir::Files);
    QFile file(QDir(folder).absoluteFilePath(files.value(0)));
    if (files.size() != 1 || !file.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromUtf8(file.readAll());
}

} // namespace

class TestBase : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void removeDirRecursively();
    void safeFileName_data();
    void safeFileName();

    void formatLogLine_data();
    void formatLogLine();
    void logRetention_data();
    void logRetention();
    void concurrentLogLinesNeverInterleave();
    void unwritableLogFolderLosesLinesOnly();

private:
    // Gives QtTest its own message handler back after logging through ours.
    void restoreHandler() { qInstallMessageHandler(testLibHandler); }

    std::unique_ptr<QTemporaryDir> tmp;
    QtMessageHandler testLibHandler = nullptr;
};

void TestBase::initTestCase()
{
    testLibHandler = qInstallMessageHandler(nullptr);
    restoreHandler();
}

void TestBase::init()
{
    tmp = std::make_unique<QTemporaryDir>();
    QVERIFY(tmp->isValid());
}

void TestBase::cleanup()
{
    // Points the log at a folder of its own so no file of this test stays open.
    installLogHandler(tmp->filePath(QStringLiteral("parked")), 10);
    restoreHandler();
    tmp.reset();
}

void TestBase::removeDirRecursively()
{
    const QString root = tmp->filePath(QStringLiteral("tree"));
    const QString precious = tmp->filePath(QStringLiteral("outside/precious.txt"));
    writeFile(root + QStringLiteral("/a.txt"), "a");
    writeFile(root + QStringLiteral("/sub/deeper/c.db"), "c");
    writeFile(precious, "keep me");
#ifdef Q_OS_UNIX
    QVERIFY(QFile::link(tmp->filePath(QStringLiteral("outside")), root + QStringLiteral("/sub/link")));
    QVERIFY(QFile::link(precious, root + QStringLiteral("/file-link")));
    QVERIFY(QFile::link(tmp->filePath(QStringLiteral("gone")), root + QStringLiteral("/sub/dangling")));
#endif

    ::removeDirRecursively(root);
    QVERIFY(!QFileInfo::exists(root));
    QVERIFY(QFile::exists(precious));

    // An empty path names no folder, not the current one.
    const QString previous = QDir::currentPath();
    QVERIFY(QDir::setCurrent(tmp->path()));
    ::removeDirRecursively(QString());
    QVERIFY(QDir::setCurrent(previous));
    QVERIFY(QFile::exists(precious));
}

void TestBase::safeFileName_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("reserved"); // bytes of endings to leave room for
    QTest::addColumn<QString>("expected");

    const QString wang(1, QChar(0x738B));              // 3 bytes in UTF-8
    const QString grin = QStringLiteral("\U0001F600"); // 4 bytes, a surrogate pair
    const QString eAcute = QStringLiteral("e\u0301");  // 3 bytes, one character to the eye
    QTest::newRow("mixed, padded") << QStringLiteral(" a/b:c? ") << 0 << QStringLiteral("abc");
    QTest::newRow("all forbidden") << QStringLiteral("\\/:*?\"<>|") << 0 << QString();
    QTest::newRow("space freed by removal trimmed")
        << QStringLiteral("? a  b ?") << 0 << QStringLiteral("a  b");
    QTest::newRow("allowed punctuation, other scripts")
        << QStringLiteral("+1 (555); x.y_z-[1] Zoë 王") << 0 << QStringLiteral("+1 (555); x.y_z-[1] Zoë 王");
    QTest::newRow("line breaks and controls")
        << QStringLiteral("Ann\r\nSmith\t\x01x\u2028y\u0085") << 0 << QStringLiteral("Ann Smith x y");
    QTest::newRow("leading dots") << QStringLiteral(" ..hidden.db") << 0 << QStringLiteral("hidden.db");
    QTest::newRow("only dots") << QStringLiteral("..") << 0 << QString();
    QTest::newRow("300 ASCII") << QString(300, QLatin1Char('a')) << 0 << QString(255, QLatin1Char('a'));
    QTest::newRow("100 CJK") << wang.repeated(100) << 0 << wang.repeated(85);
    QTest::newRow("100 CJK, room for 20 bytes") << wang.repeated(100) << 20 << wang.repeated(78);
    QTest::newRow("emoji never split") << grin.repeated(64) << 0 << grin.repeated(63);
    QTest::newRow("accent stays with its letter") << eAcute.repeated(100) << 0 << eAcute.repeated(85);
    QTest::newRow("white space left by the cut")
        << QString(253, QLatin1Char('a')) + QStringLiteral("  bcdef") << 0 << QString(253, QLatin1Char('a'));
}

void TestBase::safeFileName()
{
    QFETCH(QString, name);
    QFETCH(int, reserved);
    QFETCH(QString, expected);
    const QString cleaned = ::safeFileName(name, reserved);
    QCOMPARE(cleaned, expected);
    QVERIFY(cleaned.toUtf8().size() + reserved <= kMaxFileNameBytes);
}

void TestBase::formatLogLine_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("expected");

    QTest::newRow("debug") << int(QtDebugMsg) << QStringLiteral("hi") << QStringLiteral("(D 14:03:09) hi\n");
    QTest::newRow("warning") << int(QtWarningMsg) << QStringLiteral("w")
                             << QStringLiteral("(W 14:03:09) w\n");
    QTest::newRow("critical") << int(QtCriticalMsg) << QStringLiteral("c")
                              << QStringLiteral("(C 14:03:09) c\n");
    QTest::newRow("fatal") << int(QtFatalMsg) << QStringLiteral("f") << QStringLiteral("(F 14:03:09) f\n");
    QTest::newRow("other type") << int(QtInfoMsg) << QStringLiteral("i") << QStringLiteral("(14:03:09) i\n");
    QTest::newRow("message holding %1") << int(QtWarningMsg) << QStringLiteral("100%1 done %2")
                                        << QStringLiteral("(W 14:03:09) 100%1 done %2\n");
}

void TestBase::formatLogLine()
{
    QFETCH(int, type);
    QFETCH(QString, message);
    QFETCH(QString, expected);
    QCOMPARE(::formatLogLine(static_cast<QtMsgType>(type), QStringLiteral("14:03:09"), message), expected);
}

void TestBase::logRetention_data()
{
    QTest::addColumn<int>("files");
    QTest::addColumn<bool>("linked"); // "qlogs" is a link to another folder
    QTest::addColumn<int>("removed");

    QTest::newRow("twelve: the two first go") << 12 << false << 2;
    QTest::newRow("ten: none go") << 10 << false << 0;
    QTest::newRow("fifteen behind a link: none go") << 15 << true << 0;
}

// Installing the handler applies the retention, first name first.
void TestBase::logRetention()
{
    QFETCH(int, files);
    QFETCH(bool, linked);
    QFETCH(int, removed);

    const QString folder = tmp->filePath(QStringLiteral("qlogs"));
    const QString filesFolder = linked ? tmp->filePath(QStringLiteral("elsewhere")) : folder;
    QStringList names;
    for (int day = 1; day <= files; ++day) {
        names << logFileName(QDate(2014, 9, day));
        writeFile(filesFolder + QLatin1Char('/') + names.last());
    }
    if (linked)
        QVERIFY(QFile::link(filesFolder, folder));
    QCOMPARE(names.first(), QStringLiteral("log-20140901.txt"));
    QVERIFY(QDir(folder).mkpath(QStringLiteral("a-folder"))); // sub-folders stay and do not count
    installLogHandler(folder, 10);
    restoreHandler();
    QCOMPARE(QDir(folder).entryList(QDir::Files, QDir::Name), names.mid(removed));
    QVERIFY(QDir(folder).exists(QStringLiteral("a-folder")));
}

void TestBase::concurrentLogLinesNeverInterleave()
{
    constexpr int kThreads = 8;
    constexpr int kLines = 500;
    const QDate today = QDate::currentDate();
    const QString folder = tmp->filePath(QStringLiteral("qlogs"));
    writeFile(folder + QLatin1Char('/') + logFileName(today), "earlier run\n"); // appended to, not replaced
    installLogHandler(folder, 10);

    // All threads start logging at the same moment.
    QSemaphore go;
    std::vector<std::unique_ptr<QThread>> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back(QThread::create([t, &go] {
            // Long enough that a torn write would show.
            const QByteArray padding(64, char('a' + t));
            go.acquire();
            for (int i = 0; i < kLines; ++i)
                qWarning("thread %d line %d %s", t, i, padding.constData());
        }));
        threads.back()->start();
    }
    go.release(kThreads);
    for (auto& thread : threads)
        QVERIFY(thread->wait(60000));
    restoreHandler();
    if (QDate::currentDate() != today)
        QSKIP("the day changed while logging");

    QStringList lines = readLogFile(folder).split(QLatin1Char('\n'));
    QCOMPARE(lines.takeFirst(), QStringLiteral("earlier run"));
    QVERIFY(lines.takeLast().isEmpty());
    QCOMPARE(lines.size(), kThreads * kLines);
    const QRegularExpression shape(
        QStringLiteral("^\\(W \\d\\d:\\d\\d:\\d\\d\\) thread (\\d) line (\\d+) ([a-z])\\3{63}$"));
    QList<int> nextLine(kThreads, 0);
    for (const QString& line : std::as_const(lines)) {
        const QRegularExpressionMatch match = shape.match(line);
        QVERIFY2(match.hasMatch(), qPrintable(line));
        const int thread = match.captured(1).toInt();
        QCOMPARE(match.captured(3).at(0).toLatin1(), char('a' + thread));
        // Each thread's lines come in the order it logged them, none missing.
        QCOMPARE(match.captured(2).toInt(), nextLine[thread]++);
    }
}

void TestBase::unwritableLogFolderLosesLinesOnly()
{
    // A folder under a plain file can never be created, whoever runs the test.
    writeFile(tmp->filePath(QStringLiteral("blocker")));
    installLogHandler(tmp->filePath(QStringLiteral("blocker/qlogs")), 10);
    qWarning("lost");
    logMessageHandler(QtWarningMsg, nullptr);

    // The handler recovers once pointed at a usable folder.
    const QString usable = tmp->filePath(QStringLiteral("usable"));
    installLogHandler(usable, 10);
    qCritical() << "kept";
    restoreHandler();
    const QString content = readLogFile(usable);
    QVERIFY2(
        QRegularExpression(QStringLiteral("^\\(C \\d\\d:\\d\\d:\\d\\d\\) kept\n$")).match(content).hasMatch(),
        qPrintable(content));
}

QTEST_GUILESS_MAIN(TestBase)
#include "test_base.moc"
