#include "app/base/AppDirs.h"
#include "app/base/AppInfo.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString kProductId = QString::fromLatin1(AppInfo::kProductId);

void writeFile(const QString& path, const QByteArray& content)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(content);
}

} // namespace

class TestAppDirs : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void dataFolderWithoutRoamingUsesApplicationData();
    void dataFolderUsesRoamingWhenPresent();
    void roamingThatIsAFileIsNotUsed();
    void redirect_data();
    void redirect();
    void redirectFileBesideRoamingDataFolder();
    void resolvingCreatesNothing();

    void appDataDirIsCachedAndRecreated();
    void localDbDirIsCreated();

    void removeDirRecursivelyRemovesTree();
    void removeDirRecursivelyOfMissingFolder();
    void removeDirRecursivelyKeepsLinkTargets();

    void safeFileName_data();
    void safeFileName();

private:
    QTemporaryDir home;
};

void TestAppDirs::initTestCase()
{
    QVERIFY(home.isValid());
    // Before the first appDataDir(): the data folder is cached per process.
    qputenv("HOME", QFile::encodeName(home.path()));
}

void TestAppDirs::dataFolderWithoutRoamingUsesApplicationData()
{
    QTemporaryDir other;
    QCOMPARE(resolveAppDataFolder(other.path()),
             other.path() + QStringLiteral("/Application Data/QuillBridge/") + kProductId);
}

void TestAppDirs::dataFolderUsesRoamingWhenPresent()
{
    QTemporaryDir other;
    QVERIFY(QDir(other.path()).mkpath(QStringLiteral("AppData/Roaming")));
    QCOMPARE(resolveAppDataFolder(other.path()),
             other.path() + QStringLiteral("/AppData/Roaming/QuillBridge/") + kProductId);
}

void TestAppDirs::roamingThatIsAFileIsNotUsed()
{
    QTemporaryDir other;
    writeFile(other.filePath(QStringLiteral("AppData/Roaming")), "not a folder");
    QCOMPARE(resolveAppDataFolder(other.path()),
             other.path() + QStringLiteral("/Application Data/QuillBridge/") + kProductId);
}

// Content of the redirect file, with "@" standing for an existing folder;
// the expected base folder, "@" again, or empty for the default.
void TestAppDirs::redirect_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<bool>("redirected");

    QTest::newRow("existing folder") << QByteArray("@") << true;
    QTest::newRow("trailing line break") << QByteArray("@\n") << false;
    QTest::newRow("trailing CR LF") << QByteArray("@\r\n") << false;
    QTest::newRow("leading space") << QByteArray(" @") << false;
    QTest::newRow("empty file") << QByteArray() << false;
    QTest::newRow("names nothing") << QByteArray("@/missing") << false;
    QTest::newRow("text after a NUL byte") << QByteArray("@\0garbage", 9) << true;
    QTest::newRow("only a NUL byte") << QByteArray("\0@", 2) << false;
}

void TestAppDirs::redirect()
{
    QFETCH(QByteArray, content);
    QFETCH(bool, redirected);

    QTemporaryDir other;
    QTemporaryDir target;
    const QString targetFolder = target.filePath(QStringLiteral("dätä folder"));
    QVERIFY(QDir().mkpath(targetFolder));
    content.replace('@', targetFolder.toUtf8());
    writeFile(other.filePath(QStringLiteral("Application Data/QuillBridge/") + kProductId +
                             QStringLiteral(".redirect")),
              content);

    const QString expected =
        redirected ? QString(targetFolder + QLatin1Char('/') + kProductId)
                   : QString(other.path() + QStringLiteral("/Application Data/QuillBridge/") + kProductId);
    QCOMPARE(resolveAppDataFolder(other.path()), expected);
}

void TestAppDirs::redirectFileBesideRoamingDataFolder()
{
    QTemporaryDir other;
    QTemporaryDir target;
    QVERIFY(QDir(other.path()).mkpath(QStringLiteral("AppData/Roaming")));
    // A redirect under "Application Data" is not looked at when the roaming folder exists.
    writeFile(other.filePath(QStringLiteral("Application Data/QuillBridge/") + kProductId +
                             QStringLiteral(".redirect")),
              target.path().toUtf8());
    QCOMPARE(resolveAppDataFolder(other.path()),
             other.path() + QStringLiteral("/AppData/Roaming/QuillBridge/") + kProductId);

    writeFile(other.filePath(QStringLiteral("AppData/Roaming/QuillBridge/") + kProductId +
                             QStringLiteral(".redirect")),
              target.path().toUtf8());
    QCOMPARE(resolveAppDataFolder(other.path()), target.path() + QLatin1Char('/') + kProductId);
}

void TestAppDirs::resolvingCreatesNothing()
{
    QTemporaryDir other;
    resolveAppDataFolder(other.path());
    QVERIFY(QDir(other.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).isEmpty());
}

void TestAppDirs::appDataDirIsCachedAndRecreated()
{
    const QString expected = resolveAppDataFolder(home.path());
    QCOMPARE(appDataDir().absolutePath(), expected);
    QVERIFY(QDir(expected).exists());

    // A redirect written now is only read at the next start.
    QTemporaryDir target;
    writeFile(home.filePath(QStringLiteral("Application Data/QuillBridge/") + kProductId +
                            QStringLiteral(".redirect")),
              target.path().toUtf8());
    QVERIFY(QDir(expected).removeRecursively());
    QCOMPARE(appDataDir().absolutePath(), expected);
    QVERIFY(QDir(expected).exists());
    QVERIFY(QFile::remove(home.filePath(QStringLiteral("Application Data/QuillBridge/") + kProductId +
                                        QStringLiteral(".redirect"))));
}

void TestAppDirs::localDbDirIsCreated()
{
    const QString expected = appDataDir().absoluteFilePath(QStringLiteral("local_databases"));
    QDir(expected).removeRecursively();
    QCOMPARE(localDbDir().absolutePath(), expected);
    QVERIFY(QDir(expected).exists());

    // An existing folder keeps its content.
    writeFile(expected + QStringLiteral("/old.db"), "x");
    QCOMPARE(localDbDir().absolutePath(), expected);
    QVERIFY(QFile::exists(expected + QStringLiteral("/old.db")));
}

void TestAppDirs::removeDirRecursivelyRemovesTree()
{
    QTemporaryDir tmp;
    const QString root = tmp.filePath(QStringLiteral("tree"));
    writeFile(root + QStringLiteral("/a.txt"), "a");
    writeFile(root + QStringLiteral("/sub/b.txt"), "b");
    writeFile(root + QStringLiteral("/sub/deeper/c.db"), "c");
    QVERIFY(QDir().mkpath(root + QStringLiteral("/empty")));
    writeFile(tmp.filePath(QStringLiteral("sibling.txt")), "stays");

    removeDirRecursively(root);
    QVERIFY(!QFileInfo::exists(root));
    QVERIFY(QFile::exists(tmp.filePath(QStringLiteral("sibling.txt"))));
}

void TestAppDirs::removeDirRecursivelyOfMissingFolder()
{
    QTemporaryDir tmp;
    writeFile(tmp.filePath(QStringLiteral("kept.txt")), "x");
    removeDirRecursively(tmp.filePath(QStringLiteral("missing")));
    QVERIFY(QFile::exists(tmp.filePath(QStringLiteral("kept.txt"))));

    // An empty path names no folder, not the current one.
    const QString previous = QDir::currentPath();
    QVERIFY(QDir::setCurrent(tmp.path()));
    removeDirRecursively(QString());
    QVERIFY(QDir::setCurrent(previous));
    QVERIFY(QFile::exists(tmp.filePath(QStringLiteral("kept.txt"))));
}

void TestAppDirs::removeDirRecursivelyKeepsLinkTargets()
{
#ifdef Q_OS_UNIX
    QTemporaryDir tmp;
    const QString outside = tmp.filePath(QStringLiteral("outside"));
    writeFile(outside + QStringLiteral("/precious.txt"), "keep me");
    const QString root = tmp.filePath(QStringLiteral("tree"));
    QVERIFY(QDir().mkpath(root));
    QVERIFY(QFile::link(outside, root + QStringLiteral("/link")));
    QVERIFY(QFile::link(outside + QStringLiteral("/precious.txt"), root + QStringLiteral("/file-link")));

    removeDirRecursively(root);
    QVERIFY(!QFileInfo::exists(root));
    QVERIFY(QFile::exists(outside + QStringLiteral("/precious.txt")));
#else
    QSKIP("symbolic links are a Unix matter here");
#endif
}

void TestAppDirs::safeFileName_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("expected");

    QTest::newRow("mixed, padded") << QStringLiteral(" a/b:c? ") << QStringLiteral("abc");
    QTest::newRow("backslash") << QStringLiteral("a\\b") << QStringLiteral("ab");
    QTest::newRow("slash") << QStringLiteral("a/b") << QStringLiteral("ab");
    QTest::newRow("colon") << QStringLiteral("a:b") << QStringLiteral("ab");
    QTest::newRow("asterisk") << QStringLiteral("a*b") << QStringLiteral("ab");
    QTest::newRow("question mark") << QStringLiteral("a?b") << QStringLiteral("ab");
    QTest::newRow("double quote") << QStringLiteral("a\"b") << QStringLiteral("ab");
    QTest::newRow("less than") << QStringLiteral("a<b") << QStringLiteral("ab");
    QTest::newRow("greater than") << QStringLiteral("a>b") << QStringLiteral("ab");
    QTest::newRow("bar") << QStringLiteral("a|b") << QStringLiteral("ab");
    QTest::newRow("all forbidden") << QStringLiteral("\\/:*?\"<>|") << QString();
    QTest::newRow("inner spaces kept") << QStringLiteral("  John  Smith \t") << QStringLiteral("John  Smith");
    QTest::newRow("space freed by removal trimmed") << QStringLiteral("? a ?") << QStringLiteral("a");
    QTest::newRow("allowed punctuation")
        << QStringLiteral("+1 (555) 0100; x.y_z-[1]") << QStringLiteral("+1 (555) 0100; x.y_z-[1]");
    QTest::newRow("letters of other scripts") << QStringLiteral("Zoë 王") << QStringLiteral("Zoë 王");
    QTest::newRow("empty") << QString() << QString();
}

void TestAppDirs::safeFileName()
{
    QFETCH(QString, name);
    QFETCH(QString, expected);
    QCOMPARE(::safeFileName(name), expected);
}

QTEST_GUILESS_MAIN(TestAppDirs)
#include "test_appdirs.moc"
