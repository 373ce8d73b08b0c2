// The local databases: their name rule, listing, look-up by name and making.
#include "tests/kit/TestHome.h"
#include "base/AppDirs.h"
#include "store/IOS6MessageDb.h"
#include "store/LocalDbCatalogue.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <stdexcept>

class TestLocalDbCatalogue : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        removeDirRecursively(localDbDir().absolutePath());
        QVERIFY(localDbDir().mkpath(QStringLiteral(".")));
    }

    void nameRule_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("usable");
        QTest::newRow("plain") << "Work phone" << true;
        QTest::newRow("blanks around kept") << "  lead " << true;
        QTest::newRow("dots inside") << "a..b" << true;
        QTest::newRow("empty") << "" << false;
        QTest::newRow("blanks only") << " \t " << false;
        QTest::newRow("colon") << "a:b" << false;
        QTest::newRow("slash") << "a/b" << false;
        QTest::newRow("backslash") << "a\\b" << false;
        QTest::newRow("quote") << "a\"b" << false;
        QTest::newRow("control character") << QStringLiteral("a\u0001b") << false;
        QTest::newRow("dot") << "." << false;
        QTest::newRow("dot dot") << ".." << false;
        QTest::newRow("hidden") << ".hidden" << false;
    }

    void nameRule()
    {
        QFETCH(QString, name);
        QFETCH(bool, usable);
        QCOMPARE(LocalDbCatalogue::isUsableName(name), usable);
    }

    void match_data()
    {
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("found");
        const QStringList both{QStringLiteral("alpha"), QStringLiteral("Alpha"), QStringLiteral("Beta")};
        QTest::newRow("exact before letter case") << both << "Alpha"
                                                  << "Alpha";
        QTest::newRow("first in another letter case") << both << "ALPHA"
                                                      << "alpha";
        QTest::newRow("one in another letter case") << both << "beta"
                                                    << "Beta";
        QTest::newRow("none") << both << "Gamma"
                              << "";
        QTest::newRow("empty name") << both << ""
                                    << "";
        QTest::newRow("no databases") << QStringList() << "Alpha"
                                      << "";
    }

    void match()
    {
        QFETCH(QStringList, names);
        QFETCH(QString, name);
        QFETCH(QString, found);
        QCOMPARE(LocalDbCatalogue::match(names, name), found);
    }

    // Folders only, sorted by name; a file of the folder is no database.
    void listsFolders()
    {
        const QDir folder = localDbDir();
        for (const char* name : {"b", "A", "c"})
            QVERIFY(folder.mkdir(QLatin1String(name)));
        QFile file(folder.absoluteFilePath(QStringLiteral("old.db")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        QCOMPARE(LocalDbCatalogue::names(), (QStringList{"A", "b", "c"}));
        QCOMPARE(LocalDbCatalogue::find(QStringLiteral("B")), QStringLiteral("b"));
        QCOMPARE(LocalDbCatalogue::find(QStringLiteral("old.db")), QString());
    }

    void createsOnce()
    {
        const QString name = QStringLiteral("Family");
        QVERIFY(LocalDbCatalogue::create(name));
        QVERIFY(QFileInfo(LocalDbCatalogue::folderOf(name)).isDir());
        QCOMPARE(LocalDbCatalogue::names(), QStringList{name});
        QVERIFY(!LocalDbCatalogue::create(name)); // there already
        const QSharedPointer<IOS6MessageDb> db = LocalDbCatalogue::database(name);
        QCOMPARE(db->folder().absolutePath(), LocalDbCatalogue::folderOf(name));
        // Nothing is opened (nor written) before the database is used.
        QCOMPARE(QDir(LocalDbCatalogue::folderOf(name)).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                 QStringList());
    }

    // A file where the folder would go: the error names the folder.
    void createFailureNamesTheFolder()
    {
        const QString name = QStringLiteral("Blocked");
        QFile file(LocalDbCatalogue::folderOf(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        try {
            LocalDbCatalogue::create(name);
            QFAIL("a folder was reported made where a file stands");
        } catch (const std::runtime_error& e) {
            QVERIFY2(QString::fromUtf8(e.what()).contains(QDir::toNativeSeparators(file.fileName())),
                     e.what());
        }
        QVERIFY(QFileInfo(file.fileName()).isFile());
    }

private:
    TestHome home;
};

QTEST_GUILESS_MAIN(TestLocalDbCatalogue)
#include "tst_localdb_catalogue.moc"
