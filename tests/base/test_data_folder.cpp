#include "base/AppDirs.h"
#include "base/AppInfo.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

Q_DECLARE_METATYPE(DataFolderRule)

namespace {

const QString kProductId = QString::fromLatin1(AppInfo::kProductId);

void writeFile(const QString& path, const QByteArray& content = QByteArray())
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(content);
}

// "~/x" is x in the home folder, "$/x" x in the XDG data home, "@" the
// existing folder a redirect file may name.
QString place(const QString& path, const QString& home, const QString& dataHome, const QString& target)
{
    QString tail = path.mid(1);
    tail.replace(QStringLiteral("@"), target).replace(QStringLiteral("ID"), kProductId);
    if (path.startsWith(QLatin1String("~/")))
        return home + tail;
    if (path.startsWith(QLatin1String("$/")))
        return dataHome + tail;
    return path.left(1) + tail;
}

} // namespace

class TestDataFolder : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void folderForLayout_data();
    void folderForLayout();
    void redirectFile_data();
    void redirectFile();
    void dataHomeFromEnvironment_data();
    void dataHomeFromEnvironment();
    void appDataDirFollowsThePlatformRule();

private:
    QTemporaryDir home;
    std::unique_ptr<QTemporaryDir> tmp;
    QString homeDir;
    QString dataHome;
    QString target;
};

void TestDataFolder::initTestCase()
{
    QVERIFY(home.isValid());
    // Before the first appDataDir(): the data folder is cached per process.
    qputenv("HOME", QFile::encodeName(home.path()));
    qputenv("XDG_DATA_HOME", QFile::encodeName(home.filePath(QStringLiteral("xdg data"))));
}

void TestDataFolder::init()
{
    tmp = std::make_unique<QTemporaryDir>();
    QVERIFY(tmp->isValid());
    homeDir = tmp->filePath(QStringLiteral("home"));
    dataHome = tmp->filePath(QStringLiteral("data home"));
    target = tmp->filePath(QStringLiteral("dätä target"));
    QVERIFY(QDir().mkpath(homeDir));
    QVERIFY(QDir().mkpath(target));
}

// The folders (and ".redirect" files) that exist, and where the data folder
// is then; "ID" stands for the product id.
void TestDataFolder::folderForLayout_data()
{
    QTest::addColumn<DataFolderRule>("rule");
    QTest::addColumn<QStringList>("existing");
    QTest::addColumn<QString>("expected");

    const auto roaming = DataFolderRule::Roaming;
    const auto xdg = DataFolderRule::Xdg;
    const QString legacyFolder = QStringLiteral("~/Application Data/QuillBridge/ID");
    const QString roamingFolder = QStringLiteral("~/AppData/Roaming/QuillBridge/ID");
    const QString xdgFolder = QStringLiteral("$/QuillBridge/ID");

    QTest::newRow("windows: empty home") << roaming << QStringList() << legacyFolder;
    QTest::newRow("windows: AppData/Roaming")
        << roaming << QStringList{QStringLiteral("~/AppData/Roaming")} << roamingFolder;
    QTest::newRow("windows: data home ignored")
        << roaming << QStringList{QStringLiteral("$/QuillBridge/ID")} << legacyFolder;

    QTest::newRow("xdg: empty home") << xdg << QStringList() << xdgFolder;
    QTest::newRow("xdg: AppData/Roaming")
        << xdg << QStringList{QStringLiteral("~/AppData/Roaming")} << roamingFolder;
    QTest::newRow("xdg: AppData/Roaming before an old folder")
        << xdg << QStringList{QStringLiteral("~/AppData/Roaming"), legacyFolder} << roamingFolder;
    QTest::newRow("xdg: old data folder kept") << xdg << QStringList{legacyFolder} << legacyFolder;
    QTest::newRow("xdg: old data folder before a new one")
        << xdg << QStringList{legacyFolder, xdgFolder} << legacyFolder;
    QTest::newRow("xdg: old redirect file kept")
        << xdg << QStringList{QStringLiteral("~/Application Data/QuillBridge/ID.redirect")} << legacyFolder;
    QTest::newRow("xdg: another product's old folder")
        << xdg << QStringList{QStringLiteral("~/Application Data/QuillBridge/OTHER")} << xdgFolder;
    QTest::newRow("xdg: empty old vendor folder")
        << xdg << QStringList{QStringLiteral("~/Application Data/QuillBridge")} << xdgFolder;
}

void TestDataFolder::folderForLayout()
{
    QFETCH(DataFolderRule, rule);
    QFETCH(QStringList, existing);
    QFETCH(QString, expected);

    for (const QString& path : existing) {
        const QString full = place(path, homeDir, dataHome, target);
        if (full.endsWith(QLatin1String(".redirect")))
            writeFile(full);
        else
            QVERIFY(QDir().mkpath(full));
    }
    QCOMPARE(resolveAppDataFolder(homeDir, dataHome, rule), place(expected, homeDir, dataHome, target));
}

// Content of the redirect file beside the default data folder, "@" standing
// for an existing folder.
void TestDataFolder::redirectFile_data()
{
    QTest::addColumn<DataFolderRule>("rule");
    QTest::addColumn<QString>("defaultFolder");
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<bool>("redirected");

    const struct
    {
        const char* name;
        DataFolderRule rule;
        QString folder;
    } rules[] = {
        {"windows", DataFolderRule::Roaming, QStringLiteral("~/Application Data/QuillBridge/ID")},
        {"xdg", DataFolderRule::Xdg, QStringLiteral("$/QuillBridge/ID")},
    };
    for (const auto& r : rules) {
        const auto row = [&](const char* what) -> QTestData& {
            return QTest::addRow("%s: %s", r.name, what);
        };
        row("existing folder") << r.rule << r.folder << QByteArray("@") << true;
        row("text after a NUL ignored") << r.rule << r.folder << QByteArray("@\0junk", 6) << true;
        row("trailing line break") << r.rule << r.folder << QByteArray("@\n") << false;
        row("empty file") << r.rule << r.folder << QByteArray() << false;
        row("names nothing") << r.rule << r.folder << QByteArray("@/missing") << false;
    }
    // An old redirect file keeps the old place, and is followed.
    QTest::newRow("xdg: old redirect file")
        << DataFolderRule::Xdg << QStringLiteral("~/Application Data/QuillBridge/ID") << QByteArray("@")
        << true;
}

void TestDataFolder::redirectFile()
{
    QFETCH(DataFolderRule, rule);
    QFETCH(QString, defaultFolder);
    QFETCH(QByteArray, content);
    QFETCH(bool, redirected);

    const QString folder = place(defaultFolder, homeDir, dataHome, target);
    writeFile(folder + QStringLiteral(".redirect"), content.replace('@', target.toUtf8()));

    const QString expected = redirected ? target + QLatin1Char('/') + kProductId : folder;
    QCOMPARE(resolveAppDataFolder(homeDir, dataHome, rule), expected);
    QVERIFY(!QFileInfo::exists(expected)); // resolving creates nothing
}

// XDG_DATA_HOME, unset when null; "~" stands for HOME.
void TestDataFolder::dataHomeFromEnvironment_data()
{
    QTest::addColumn<QByteArray>("variable");
    QTest::addColumn<QString>("expected");

    QTest::newRow("unset") << QByteArray() << QStringLiteral("~/.local/share");
    QTest::newRow("empty") << QByteArray("") << QStringLiteral("~/.local/share");
    QTest::newRow("absolute") << QByteArray("/srv/dätä") << QStringLiteral("/srv/dätä");
    QTest::newRow("relative, ignored") << QByteArray("data/share") << QStringLiteral("~/.local/share");
}

void TestDataFolder::dataHomeFromEnvironment()
{
    QFETCH(QByteArray, variable);
    QFETCH(QString, expected);

    const QByteArray saved = qgetenv("XDG_DATA_HOME");
    qputenv("HOME", QFile::encodeName(homeDir));
    if (variable.isNull())
        qunsetenv("XDG_DATA_HOME");
    else
        qputenv("XDG_DATA_HOME", variable);
    const QString resolved = xdgDataHome();
    qputenv("HOME", QFile::encodeName(home.path()));
    qputenv("XDG_DATA_HOME", saved);

    QCOMPARE(resolved, place(expected, homeDir, QString(), QString()));
}

// The real data folder: under XDG_DATA_HOME on Linux, created on every call.
void TestDataFolder::appDataDirFollowsThePlatformRule()
{
#if defined(Q_OS_WIN) || defined(Q_OS_MACOS)
    QCOMPARE(platformDataFolderRule(), DataFolderRule::Roaming);
    const QString expected = home.filePath(QStringLiteral("Application Data/QuillBridge/")) + kProductId;
#else
    QCOMPARE(platformDataFolderRule(), DataFolderRule::Xdg);
    const QString expected = home.filePath(QStringLiteral("xdg data/QuillBridge/")) + kProductId;
#endif
    QCOMPARE(appDataDir().absolutePath(), expected);
    QVERIFY(QDir(expected).exists());
    // Removed while running: the next call makes it again.
    QVERIFY(QDir(expected).removeRecursively());
    QCOMPARE(localDbDir().absolutePath(), expected + QStringLiteral("/local_databases"));
    QVERIFY(QDir(expected + QStringLiteral("/local_databases")).exists());
}

QTEST_GUILESS_MAIN(TestDataFolder)
#include "test_data_folder.moc"
