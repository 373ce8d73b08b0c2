#include "country/CountryLibDb.h"

#include "app/base/AppDirs.h"
#include "store/sql/Sqlite3DB.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <stdexcept>

#include <unistd.h>

class TestCountryLibDb : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void constructionTouchesNoFile();
    void openCopiesTheLibrary();
    void currentCountry_data();
    void currentCountry();
    void findByMcc_data();
    void findByMcc();
    void findByMccWithoutFoundFlag();
    void findBySn_data();
    void findBySn();
    void readsEveryField();
    void deletedCopyIsCopiedAgain();
    void existingCopyIsUsedUnchanged();
    void corruptCopyThrows();
    void failedCopyThrows();

private:
    QString copyPath() const;

    QTemporaryDir home;
};

QString TestCountryLibDb::copyPath() const
{
    return appDataDir().absoluteFilePath(QStringLiteral("countries.db"));
}

void TestCountryLibDb::initTestCase()
{
    QVERIFY(home.isValid());
    qputenv("HOME", home.path().toUtf8());
}

void TestCountryLibDb::init()
{
    // Every test starts without an on-disk copy.
    QFile::remove(copyPath());
    QVERIFY(!QFile::exists(copyPath()));
}

void TestCountryLibDb::constructionTouchesNoFile()
{
    CountryLibDb db(QStringLiteral("234"));
    QVERIFY(!db.isOpen());
    QVERIFY(!QFile::exists(copyPath()));
}

void TestCountryLibDb::openCopiesTheLibrary()
{
    CountryLibDb db(QStringLiteral("234"));
    db.open();
    QVERIFY(db.isOpen());
    QVERIFY(QFile::exists(copyPath()));
    QVERIFY(QFile::permissions(copyPath()) & QFile::WriteOwner);
    QFile resource(QStringLiteral(":/res/countries.db"));
    QCOMPARE(QFileInfo(copyPath()).size(), resource.size());
}

void TestCountryLibDb::currentCountry_data()
{
    QTest::addColumn<QString>("mcc");
    QTest::addColumn<QString>("sn");

    QTest::newRow("234") << "234"
                         << "GB";
    QTest::newRow("235") << "235"
                         << "GB";
    QTest::newRow("262") << "262"
                         << "DE";
    QTest::newRow("460") << "460"
                         << "CN";
    QTest::newRow("405") << "405"
                         << "IN";
    QTest::newRow("999") << "999"
                         << "AX";
    QTest::newRow("unknown") << "000" << QString();
    QTest::newRow("empty") << "" << QString();
}

void TestCountryLibDb::currentCountry()
{
    QFETCH(QString, mcc);
    QFETCH(QString, sn);
    CountryLibDb db(mcc);
    const CountryInfo info = db.currentCountry();
    QCOMPARE(info.sn, sn);
    if (sn.isEmpty()) {
        // The empty record: seven null strings.
        QVERIFY(info.sn.isNull() && info.n.isNull() && info.ln.isNull() && info.pnum.isNull());
        QVERIFY(info.mmc.isNull() && info.numc.isNull() && info.mobileRx.isNull());
    }
}

void TestCountryLibDb::findByMcc_data()
{
    QTest::addColumn<QString>("current");
    QTest::addColumn<QString>("mcc");
    QTest::addColumn<QString>("sn");
    QTest::addColumn<bool>("found");

    QTest::newRow("999 is AX") << "262"
                               << "999"
                               << "AX" << true;
    QTest::newRow("234 is GB") << "262"
                               << "234"
                               << "GB" << true;
    QTest::newRow("235 is GB") << "262"
                               << "235"
                               << "GB" << true;
    QTest::newRow("404 is IN") << ""
                               << "404"
                               << "IN" << true;
    QTest::newRow("unknown gives current") << "262"
                                           << "12345"
                                           << "DE" << false;
    QTest::newRow("empty gives current") << "234"
                                         << ""
                                         << "GB" << false;
    QTest::newRow("unknown, no current") << ""
                                         << "001" << QString() << false;
    QTest::newRow("quote is a parameter") << "262"
                                          << "' or '1'='1"
                                          << "DE" << false;
}

void TestCountryLibDb::findByMcc()
{
    QFETCH(QString, current);
    QFETCH(QString, mcc);
    QFETCH(QString, sn);
    QFETCH(bool, found);
    CountryLibDb db(current);
    bool wasFound = !found;
    QCOMPARE(db.findByMcc(mcc, &wasFound).sn, sn);
    QCOMPARE(wasFound, found);
}

void TestCountryLibDb::findByMccWithoutFoundFlag()
{
    CountryLibDb db(QStringLiteral("460"));
    QCOMPARE(db.findByMcc(QStringLiteral("250")).sn, QStringLiteral("RU"));
    QCOMPARE(db.findByMcc(QStringLiteral("12")).sn, QStringLiteral("CN"));
}

void TestCountryLibDb::findBySn_data()
{
    QTest::addColumn<QString>("sn");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<bool>("found");

    QTest::newRow("lower case") << "gb"
                                << "GB" << true;
    QTest::newRow("mixed case") << "kR"
                                << "KR" << true;
    QTest::newRow("upper case") << "AC"
                                << "AC" << true;
    QTest::newRow("unknown gives current") << "xx"
                                           << "NL" << false;
    QTest::newRow("empty gives current") << ""
                                         << "NL" << false;
}

void TestCountryLibDb::findBySn()
{
    QFETCH(QString, sn);
    QFETCH(QString, expected);
    QFETCH(bool, found);
    CountryLibDb db(QStringLiteral("204"));
    bool wasFound = !found;
    QCOMPARE(db.findBySn(sn, &wasFound).sn, expected);
    QCOMPARE(wasFound, found);
}

void TestCountryLibDb::readsEveryField()
{
    CountryLibDb db(QString{});
    const CountryInfo gb = db.findBySn(QStringLiteral("GB"));
    QCOMPARE(gb.sn, QStringLiteral("GB"));
    QCOMPARE(gb.n, QStringLiteral("United Kingdom"));
    QCOMPARE(gb.ln, QStringLiteral("United Kingdom"));
    QCOMPARE(gb.pnum, QStringLiteral("44"));
    QCOMPARE(gb.mmc, QStringLiteral("234,235"));
    QCOMPARE(gb.numc, QStringLiteral("10"));
    QVERIFY2(gb.mobileRx.startsWith(QStringLiteral("^(?:7")), qPrintable(gb.mobileRx));
    QVERIFY(gb.mobileRx.endsWith(QStringLiteral(")$")));

    const CountryInfo cn = db.findBySn(QStringLiteral("CN"));
    QCOMPARE(cn.ln, QStringLiteral("中国"));
    QCOMPARE(cn.mobileRx, QStringLiteral(R"(^(?:1(?:3\d|4[57]|[58][0-35-9])\d{8}|184\d{8})$)"));

    const CountryInfo ac = db.findBySn(QStringLiteral("AC"));
    QCOMPARE(ac.mobileRx, QStringLiteral("^(?:)$"));
    QVERIFY(!ac.isMobileNumber(QStringLiteral("40000")));
}

void TestCountryLibDb::deletedCopyIsCopiedAgain()
{
    {
        CountryLibDb db(QStringLiteral("234"));
        QCOMPARE(db.currentCountry().sn, QStringLiteral("GB"));
    }
    QVERIFY(QFile::remove(copyPath()));
    CountryLibDb db(QStringLiteral("234"));
    QCOMPARE(db.currentCountry().sn, QStringLiteral("GB"));
    QVERIFY(QFile::exists(copyPath()));
}

void TestCountryLibDb::existingCopyIsUsedUnchanged()
{
    {
        CountryLibDb db(QString{});
        db.open();
    }
    {
        Sqlite3DB raw;
        raw.openThrow(copyPath(), Sqlite3DB::ReadWrite);
        raw.executeThrow(Sqlite3Sql(QStringLiteral("update countries set n='Changed here' where sn='GB'")));
    }
    CountryLibDb db(QStringLiteral("234"));
    QCOMPARE(db.currentCountry().n, QStringLiteral("Changed here"));
}

void TestCountryLibDb::corruptCopyThrows()
{
    {
        QFile file(copyPath());
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QByteArray("this is no database, just some text.\n").repeated(200));
    }
    CountryLibDb db(QStringLiteral("234"));
    for (int attempt = 0; attempt < 2; ++attempt) {
        QString message;
        try {
            db.open();
        } catch (const std::exception& e) {
            message = QString::fromUtf8(e.what());
        }
        QVERIFY2(message.contains(QStringLiteral("not a database")), qPrintable(message));
        // A failed open leaves nothing half-open behind.
        QVERIFY(!db.isOpen());
    }
    bool found = true;
    QVERIFY_THROWS_EXCEPTION(std::exception, db.findBySn(QStringLiteral("GB"), &found));
}

void TestCountryLibDb::failedCopyThrows()
{
    const QString folder = appDataDir().absolutePath();
    const QFile::Permissions before = QFile::permissions(folder);
    QVERIFY(QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner));
    QString message;
    try {
        CountryLibDb db(QStringLiteral("234"));
        db.open();
    } catch (const std::runtime_error& e) {
        message = QString::fromUtf8(e.what());
    }
    QFile::setPermissions(folder, before);
    if (message.isEmpty() && ::geteuid() == 0)
        QSKIP("the super-user writes into read-only folders");
    QVERIFY2(message.startsWith(QStringLiteral("can not create %1. ").arg(copyPath())), qPrintable(message));
    QVERIFY(message.size() > QStringLiteral("can not create %1. ").arg(copyPath()).size());
}

QTEST_GUILESS_MAIN(TestCountryLibDb)
#include "tst_countrylibdb.moc"
