#include "store/sql/Sqlite3DB.h"

#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QtTest>

// The country library as it travels in the resources.
class TestCountriesDb : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void schema();
    void regionKeys();
    void tellingRows_data();
    void tellingRows();
    void longMobilePatterns();
    void emptyMobilePatterns();
    void columnFormats();
    void mobilePatternsCompile();
    void mmcTableIsConsistent();
    void dialogListing();

private:
    QStringList column(const QString& sql);
    QHash<QString, QString> mmcListsBySn();

    QTemporaryDir folder;
    Sqlite3DB db;
};

namespace {

// Every region the library carries, in key order.
const char* const kRegions =
    "AC AD AE AF AG AI AL AM AO AR AS AT AU AW AX AZ BA BB BD BE BF BG BH BI BJ BL BM BN BO BQ "
    "BR BS BT BW BY BZ CA CC CD CF CG CH CI CK CL CM CN CO CR CU CV CW CX CY CZ DE DJ DK DM DO "
    "DZ EC EE EG ER ES ET FI FJ FK FM FO FR GA GB GD GE GF GG GH GI GL GM GN GP GQ GR GT GU GW "
    "GY HK HN HR HT HU ID IE IL IM IN IO IQ IR IS IT JE JM JO JP KE KG KH KI KM KN KP KR KW KY "
    "KZ LA LB LC LI LK LR LS LT LU LV LY MA MC MD ME MF MG MH MK ML MM MN MO MP MQ MR MS MT MU "
    "MV MW MX MY MZ NA NC NE NF NG NI NL NO NP NR NU NZ OM PA PE PF PG PH PK PL PM PR PS PT PW "
    "PY QA RE RO RS RU RW SA SB SC SD SE SG SH SI SJ SK SL SM SN SO SR SS ST SV SX SY SZ TC TD "
    "TG TH TJ TK TL TM TN TO TR TT TV TW TZ UA UG US UY UZ VA VC VE VG VI VN VU WF WS YE YT ZA "
    "ZM ZW";

// Top-level alternatives of a pattern: '|' outside groups and classes.
int topLevelAlternatives(const QString& pattern)
{
    int depth = 0;
    int count = 1;
    bool inClass = false;
    for (int i = 0; i < pattern.size(); ++i) {
        const QChar c = pattern.at(i);
        if (c == u'\\') {
            ++i;
        } else if (inClass) {
            inClass = c != u']';
        } else if (c == u'[') {
            inClass = true;
        } else if (c == u'(') {
            ++depth;
        } else if (c == u')') {
            --depth;
        } else if (c == u'|' && depth == 0) {
            ++count;
        }
    }
    return count;
}

bool isAscendingNumberList(const QString& text, const QRegularExpression& item)
{
    int previous = -1;
    for (const QString& part : text.split(u',')) {
        if (!item.match(part).hasMatch() || part.toInt() <= previous)
            return false;
        previous = part.toInt();
    }
    return true;
}

} // namespace

void TestCountriesDb::initTestCase()
{
    QVERIFY(folder.isValid());
    const QString path = folder.filePath(QStringLiteral("countries.db"));
    QVERIFY(QFile::copy(QStringLiteral(":/res/countries.db"), path));
    db.openThrow(path, 1 /* read-only */);
}

QStringList TestCountriesDb::column(const QString& sql)
{
    QStringList values;
    Sqlite3Cursor cursor = db.queryThrow(Sqlite3Sql(sql));
    while (cursor.moveNext())
        values << cursor.getText(0);
    return values;
}

QHash<QString, QString> TestCountriesDb::mmcListsBySn()
{
    QHash<QString, QString> lists;
    Sqlite3Cursor cursor = db.queryThrow(Sqlite3Sql(QStringLiteral("select sn, mmc from countries")));
    while (cursor.moveNext())
        lists.insert(cursor.getText(QStringLiteral("sn")), cursor.getText(QStringLiteral("mmc")));
    return lists;
}

void TestCountriesDb::schema()
{
    QCOMPARE(column(QStringLiteral("select type || ' ' || name || ' on ' || tbl_name from sqlite_master "
                                   "where sql is not null order by type, name")),
             QStringList({"index index_countries_pnum on countries", "index index_mmc_sn on mmc_sn",
                          "table countries on countries", "table mmc_sn on mmc_sn"}));
    QCOMPARE(column(QStringLiteral("select name from pragma_table_info('countries') order by cid")),
             QStringList({"sn", "ln", "pnum", "mmc", "numc", "u2", "r1", "r2", "r3", "r4", "mnc_rx", "n"}));
    QCOMPARE(column(QStringLiteral("select name from pragma_index_info('index_countries_pnum')")),
             QStringList({"pnum"}));
    QCOMPARE(column(QStringLiteral("select name from pragma_table_info('mmc_sn') order by cid")),
             QStringList({"mmc", "sn"}));
    QCOMPARE(column(QStringLiteral("select name from pragma_index_info('index_mmc_sn')")),
             QStringList({"sn"}));
    QCOMPARE(
        column(QStringLiteral("select name || ':' || type || ':' || pk from pragma_table_info('countries') "
                              "where pk > 0 union all "
                              "select name || ':' || type || ':' || pk from pragma_table_info('mmc_sn') "
                              "where pk > 0")),
        QStringList({"sn:CHAR(2):1", "mmc:CHAR(3):1"}));
}

void TestCountriesDb::regionKeys()
{
    const QStringList expected = QString::fromLatin1(kRegions).split(u' ');
    QCOMPARE(expected.size(), 242);
    QCOMPARE(column(QStringLiteral("select sn from countries order by sn")), expected);
}

void TestCountriesDb::tellingRows_data()
{
    QTest::addColumn<QString>("sn");
    QTest::addColumn<QString>("ln");
    QTest::addColumn<QString>("pnum");
    QTest::addColumn<QString>("mmc");
    QTest::addColumn<QString>("numc");
    QTest::addColumn<QString>("r1"); // null: long, checked elsewhere
    QTest::addColumn<QString>("n");

    const QString longPattern;
    QTest::newRow("GB") << "GB"
                        << "United Kingdom"
                        << "44"
                        << "234,235"
                        << "10" << longPattern << "United Kingdom";
    QTest::newRow("US") << "US"
                        << "United States"
                        << "1"
                        << "310,311,312,313,314,315,316"
                        << "10" << longPattern << "United States";
    QTest::newRow("CN") << "CN"
                        << "中国"
                        << "86"
                        << "460"
                        << "11"
                        << R"(1(?:3\d|4[57]|[58][0-35-9])\d{8}|184\d{8})"
                        << "China";
    QTest::newRow("IN") << "IN"
                        << "India"
                        << "91"
                        << "404,405"
                        << "10"
                        << R"([7-9]\d{9})"
                        << "India";
    QTest::newRow("DE") << "DE"
                        << "Deutschland"
                        << "49"
                        << "262"
                        << "7,8,9,10,11,12" << longPattern << "Germany";
    QTest::newRow("RU") << "RU"
                        << "Россия"
                        << "7"
                        << "250"
                        << "10"
                        << R"(9\d{9})"
                        << "Russia";
    QTest::newRow("NL") << "NL"
                        << "Nederland"
                        << "31"
                        << "204"
                        << "9"
                        << R"(6[1-58]\d{7})"
                        << "Netherlands";
    QTest::newRow("KR") << "KR"
                        << "대한민국"
                        << "82"
                        << "450"
                        << "9,10"
                        << R"(1[0-26-9]\d{7,8})"
                        << "South Korea";
    QTest::newRow("IT") << "IT"
                        << "Italia"
                        << "39"
                        << "222"
                        << "9,10"
                        << R"(3(?:[12457-9]\d{8}|6\d{7,8}|3\d{7,9}))"
                        << "Italy";
    QTest::newRow("AX") << "AX"
                        << "Åland"
                        << "358"
                        << "999"
                        << "6,7,8,9,10,11"
                        << R"(4\d{5,10}|50\d{4,8})"
                        << "Åland Islands";
    QTest::newRow("AC") << "AC"
                        << "Ascension Island"
                        << "247"
                        << "999"
                        << "4"
                        << ""
                        << "Ascension Island";
}

void TestCountriesDb::tellingRows()
{
    QFETCH(QString, sn);
    QFETCH(QString, ln);
    QFETCH(QString, pnum);
    QFETCH(QString, mmc);
    QFETCH(QString, numc);
    QFETCH(QString, r1);
    QFETCH(QString, n);

    Sqlite3Sql sql(QStringLiteral("select * from countries where sn=?"));
    sql.addTextParam(sn);
    Sqlite3Cursor row = db.queryThrow(sql);
    QVERIFY(row.moveNext());
    QCOMPARE(row.getText(QStringLiteral("ln")), ln);
    QCOMPARE(row.getText(QStringLiteral("pnum")), pnum);
    QCOMPARE(row.getText(QStringLiteral("mmc")), mmc);
    QCOMPARE(row.getText(QStringLiteral("numc")), numc);
    QCOMPARE(row.getText(QStringLiteral("n")), n);
    if (!r1.isNull())
        QCOMPARE(row.getText(QStringLiteral("r1")), r1);
}

void TestCountriesDb::longMobilePatterns()
{
    const QStringList gb = column(QStringLiteral("select r1 from countries where sn='GB'"));
    QCOMPARE(gb.size(), 1);
    QVERIFY2(gb[0].startsWith(u'7') && gb[0].size() > 40, qPrintable(gb[0]));
    const QStringList us = column(QStringLiteral("select r1 from countries where sn='US'"));
    QVERIFY2(us.size() == 1 && us[0].size() > 40, qPrintable(us.value(0)));
    const QStringList de = column(QStringLiteral("select r1 from countries where sn='DE'"));
    QVERIFY2(de.size() == 1 && topLevelAlternatives(de[0]) >= 3, qPrintable(de.value(0)));
}

void TestCountriesDb::emptyMobilePatterns()
{
    const QStringList empty = column(QStringLiteral("select sn from countries where r1 = '' or r1 is null"));
    QCOMPARE(empty.size(), 3);
    QVERIFY(empty.contains(QStringLiteral("AC")));
}

void TestCountriesDb::columnFormats()
{
    const QRegularExpression mcc(QStringLiteral("^\\d{3}$"));
    const QRegularExpression length(QStringLiteral("^[1-9]\\d?$"));
    const QRegularExpression digits(QStringLiteral("^[1-9]\\d{0,3}$"));
    Sqlite3Cursor row = db.queryThrow(Sqlite3Sql(QStringLiteral("select * from countries")));
    while (row.moveNext()) {
        const QString sn = row.getText(QStringLiteral("sn"));
        QVERIFY2(isAscendingNumberList(row.getText(QStringLiteral("mmc")), mcc), qPrintable(sn));
        QVERIFY2(isAscendingNumberList(row.getText(QStringLiteral("numc")), length), qPrintable(sn));
        QVERIFY2(digits.match(row.getText(QStringLiteral("pnum"))).hasMatch(), qPrintable(sn));
        QVERIFY2(!row.getText(QStringLiteral("n")).isEmpty(), qPrintable(sn));
        QVERIFY2(!row.getText(QStringLiteral("ln")).isEmpty(), qPrintable(sn));
        QVERIFY2(!row.getText(QStringLiteral("mnc_rx")).isEmpty(), qPrintable(sn));
        // One template and one leading-digits entry per format pattern.
        const int formats = int(row.getText(QStringLiteral("r2")).split(u';').size());
        QCOMPARE(row.getText(QStringLiteral("r3")).split(u';').size(), formats);
        QCOMPARE(row.getText(QStringLiteral("r4")).split(u';').size(), formats);
    }
}

void TestCountriesDb::mobilePatternsCompile()
{
    Sqlite3Cursor row = db.queryThrow(Sqlite3Sql(QStringLiteral("select sn, r1 from countries")));
    while (row.moveNext()) {
        const QRegularExpression rx(QStringLiteral("^(?:%1)$").arg(row.getText(QStringLiteral("r1"))));
        QVERIFY2(rx.isValid(), qPrintable(row.getText(QStringLiteral("sn")) + u' ' + rx.errorString()));
    }
}

void TestCountriesDb::mmcTableIsConsistent()
{
    const QHash<QString, QString> lists = mmcListsBySn();
    QHash<QString, QString> owners;
    Sqlite3Cursor row = db.queryThrow(Sqlite3Sql(QStringLiteral("select mmc, sn from mmc_sn")));
    while (row.moveNext())
        owners.insert(row.getText(QStringLiteral("mmc")), row.getText(QStringLiteral("sn")));
    QVERIFY2(owners.size() >= 200 && owners.size() <= 260, qPrintable(QString::number(owners.size())));

    QCOMPARE(owners.value(QStringLiteral("234")), QStringLiteral("GB"));
    QCOMPARE(owners.value(QStringLiteral("235")), QStringLiteral("GB"));
    QCOMPARE(owners.value(QStringLiteral("999")), QStringLiteral("AX"));

    QSet<QString> listed;
    for (auto it = lists.cbegin(); it != lists.cend(); ++it) {
        for (const QString& mcc : it.value().split(u',')) {
            listed.insert(mcc);
            QVERIFY2(owners.contains(mcc), qPrintable(it.key() + u' ' + mcc));
            const QString owner = owners.value(mcc);
            QVERIFY2(lists.value(owner).split(u',').contains(mcc), qPrintable(mcc + u' ' + owner));
        }
    }
    // No row for an MCC that no region lists.
    for (auto it = owners.cbegin(); it != owners.cend(); ++it)
        QVERIFY2(listed.contains(it.key()), qPrintable(it.key()));
}

void TestCountriesDb::dialogListing()
{
    // The country dialog offers the first MCC of each region, ordered by English name.
    QHash<QString, QString> firstMcc;
    QStringList names;
    Sqlite3Cursor row = db.queryThrow(
        Sqlite3Sql(QStringLiteral("select pnum, n, substr(mmc,0,4) as mmc from countries order by n asc")));
    while (row.moveNext()) {
        names << row.getText(QStringLiteral("n"));
        firstMcc.insert(names.last(), row.getText(QStringLiteral("mmc")));
    }
    QCOMPARE(names.size(), 242);
    QCOMPARE(firstMcc.value(QStringLiteral("India")), QStringLiteral("404"));
    QCOMPARE(firstMcc.value(QStringLiteral("Jersey")), QStringLiteral("234"));
    QCOMPARE(firstMcc.value(QStringLiteral("Ascension Island")), QStringLiteral("999"));
    QCOMPARE(names.last(), QStringLiteral("Åland Islands"));
}

QTEST_GUILESS_MAIN(TestCountriesDb)
#include "tst_countriesdb.moc"
