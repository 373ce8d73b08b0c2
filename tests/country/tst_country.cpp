#include "base/AppDirs.h"
#include "country/CountryInfo.h"
#include "country/CountryLibDb.h"
#include "sql/Sqlite3DB.h"
#include "tests/kit/TestHome.h"

#include <QFile>
#include <QHash>
#include <QRegularExpression>
#include <QThread>
#include <QtTest>

#include <atomic>
#include <memory>
#include <stdexcept>
#include <vector>

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

QString copyPath()
{
    return appDataDir().absoluteFilePath(QStringLiteral("countries.db"));
}

void addRow(const char* name, std::initializer_list<const char*> values)
{
    QTestData& row = QTest::newRow(name);
    for (const char* value : values)
        row << QString::fromUtf8(value);
}

} // namespace

class TestCountry : public QObject
{
    Q_OBJECT

private:
    TestHome home;
    Sqlite3DB shipped; // a copy of the resource, read directly
    QHash<QString, CountryInfo> countries;

    QStringList column(const QString& sql)
    {
        QStringList values;
        Sqlite3Cursor cursor = shipped.queryThrow(Sqlite3Sql(sql));
        while (cursor.moveNext())
            values << cursor.getText(0);
        return values;
    }

private slots:
    void initTestCase()
    {
        const QString path = home.filePath(QStringLiteral("shipped.db"));
        QVERIFY(QFile::copy(QStringLiteral(":/res/countries.db"), path));
        shipped.openThrow(path, 1 /* read-only */);
        CountryLibDb db(QString{});
        for (const char* sn : {"GB", "CN", "DE"})
            countries.insert(QString::fromLatin1(sn), db.findBySn(QString::fromLatin1(sn)));
        countries.insert(QStringLiteral("empty"), CountryInfo());
    }

    void normalize_data()
    {
        QTest::addColumn<QString>("country");
        QTest::addColumn<QString>("address");
        QTest::addColumn<QString>("expected");
        addRow("GB trunk 0", {"GB", "07400 000000", "+447400000000"});
        addRow("GB national mobile", {"GB", "7400000000", "+447400000000"});
        addRow("GB calling code", {"GB", "447400000000", "+447400000000"});
        addRow("GB international", {"GB", "+44 7400 000000", "+447400000000"});
        addRow("GB 00 prefix not recognised", {"GB", "0044 7400 000000", "00447400000000"});
        addRow("GB landline", {"GB", "01632 960000", "01632960000"});
        addRow("GB named sender", {"GB", "BankAlert", "bankalert"});
        addRow("CN national mobile", {"CN", "138-0000-0000", "+8613800000000"});
        addRow("CN calling code", {"CN", "8613800000000", "+8613800000000"});
        addRow("CN landline", {"CN", "(010) 0000-0000", "01000000000"});
        addRow("empty record, trunk 0", {"empty", "07400 000000", "07400000000"});
        addRow("e-mail address", {"GB", "Jane.Doe@Example.COM", "jane.doe@example.com"});
        // Every alternative of the mobile pattern must span the whole number.
        addRow("DE trunk 0", {"DE", "015100000000", "+4915100000000"});
        addRow("DE mobile digits at the end", {"DE", "99 1701234567", "991701234567"});
        addRow("plus in the middle", {"GB", "12+34", "12+34"});
        addRow("GB empty", {"GB", "", ""});
        addRow("GB punctuation only", {"GB", "(-) .", ""});
        addRow("empty record, empty", {"empty", "", "+"});
        addRow("empty record, punctuation only", {"empty", " - ", "+"});
    }

    void normalize()
    {
        QFETCH(QString, country);
        QFETCH(QString, address);
        QFETCH(QString, expected);
        QCOMPARE(normalizePhoneNumber(countries.value(country), address), expected);
    }

    void lookups_data()
    {
        QTest::addColumn<QString>("current"); // MCC given at construction
        QTest::addColumn<QString>("by");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("sn");
        QTest::addColumn<QString>("found");
        addRow("MCC 999 is AX", {"262", "mcc", "999", "AX", "yes"});
        addRow("MCC 234 is GB", {"262", "mcc", "234", "GB", "yes"});
        addRow("unknown MCC gives current", {"262", "mcc", "12345", "DE", "no"});
        addRow("unknown MCC, no current", {"", "mcc", "001", "", "no"});
        addRow("quote is a parameter", {"262", "mcc", "' or '1'='1", "DE", "no"});
        addRow("region code in lower case", {"262", "sn", "gb", "GB", "yes"});
        addRow("unknown region code gives current", {"204", "sn", "xx", "NL", "no"});
    }

    void lookups()
    {
        QFETCH(QString, current);
        QFETCH(QString, by);
        QFETCH(QString, key);
        QFETCH(QString, sn);
        QFETCH(QString, found);
        CountryLibDb db(current);
        bool wasFound = found != QLatin1String("yes");
        const CountryInfo info =
            by == QLatin1String("mcc") ? db.findByMcc(key, &wasFound) : db.findBySn(key, &wasFound);
        QCOMPARE(info.sn, sn);
        QCOMPARE(wasFound, found == QLatin1String("yes"));
        QCOMPARE(info.n.isNull(), sn.isEmpty()); // no current country: the empty record
    }

    void mainRegionOfACallingCode_data()
    {
        QTest::addColumn<QString>("pnum");
        QTest::addColumn<QString>("regions"); // main region first, then by code; the first few
        addRow("+1: US, which owns the most MCCs", {"1", "US AG AI"});
        addRow("+44: GB before the islands", {"44", "GB GG IM JE"});
        addRow("+358: FI; AX has only 999", {"358", "FI AX"});
        addRow("+61: AU", {"61", "AU CC CX"});
        addRow("+49: a code of one region", {"49", "DE"});
        addRow("no such code", {"999", ""});
    }

    void mainRegionOfACallingCode()
    {
        QFETCH(QString, pnum);
        QFETCH(QString, regions);
        CountryLibDb db{QString()};
        QStringList codes;
        for (const CountryInfo& country : db.countriesOfCallingCode(pnum))
            codes << country.sn;
        const QStringList expected = regions.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        QCOMPARE(codes.mid(0, int(expected.size())), expected);
        QVERIFY(db.callingCodes().contains(QStringLiteral("1")) &&
                db.callingCodes().contains(QStringLiteral("358")));
    }

    void readsTheRecord()
    {
        const CountryInfo cn = CountryLibDb(QStringLiteral("460")).currentCountry();
        QCOMPARE(QStringList({cn.sn, cn.n, cn.ln, cn.pnum, cn.mmc, cn.numc}),
                 QStringList({"CN", "China", "中国", "86", "460", "11"}));
        QVERIFY(cn.isMobileNumber(QStringLiteral("13800000000")));
        QVERIFY(!cn.isMobileNumber(QStringLiteral("013800000000")));
        QVERIFY(!CountryInfo().isMobileNumber(QString()));
    }

    void mobileNumberFromSeveralThreads()
    {
        // Compiled patterns are kept per thread; a shared record answers alike in every thread.
        const CountryInfo de = countries.value(QStringLiteral("DE"));
        std::atomic<int> wrong{0};
        std::vector<std::unique_ptr<QThread>> threads;
        for (int t = 0; t < 4; ++t) {
            threads.emplace_back(QThread::create([&] {
                for (int i = 0; i < 500; ++i) {
                    if (!de.isMobileNumber(QStringLiteral("15100000000")) ||
                        de.isMobileNumber(QStringLiteral("015100000000")))
                        ++wrong;
                }
            }));
            threads.back()->start();
        }
        for (auto& thread : threads)
            QVERIFY(thread->wait(60000));
        QCOMPARE(wrong.load(), 0);
    }

    void onDiskCopy()
    {
        QFile::remove(copyPath());
        {
            CountryLibDb db(QStringLiteral("234"));
            QVERIFY(!QFile::exists(copyPath())); // construction touches no file
            QCOMPARE(db.currentCountry().n, QStringLiteral("United Kingdom"));
        }
        {
            Sqlite3DB raw;
            raw.openThrow(copyPath(), Sqlite3DB::ReadWrite);
            raw.executeThrow(Sqlite3Sql(QStringLiteral("update countries set n='Changed' where sn='GB'")));
        }
        // An existing copy is used as it is...
        QCOMPARE(CountryLibDb(QStringLiteral("234")).currentCountry().n, QStringLiteral("Changed"));
        // ...and a deleted one is copied again.
        QVERIFY(QFile::remove(copyPath()));
        QCOMPARE(CountryLibDb(QStringLiteral("234")).currentCountry().n, QStringLiteral("United Kingdom"));
    }

    void corruptCopyThrows()
    {
        QFile::remove(copyPath());
        QFile file(copyPath());
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QByteArray("this is no database, just some text.\n").repeated(200));
        file.close();
        CountryLibDb db(QStringLiteral("234"));
        QString message;
        try {
            db.open();
        } catch (const std::exception& e) {
            message = QString::fromUtf8(e.what());
        }
        QVERIFY2(message.contains(QStringLiteral("not a database")), qPrintable(message));
        QVERIFY(!db.isOpen());
        QVERIFY_THROWS_EXCEPTION(std::exception, db.findBySn(QStringLiteral("GB")));
        QFile::remove(copyPath());
    }

    void shippedSchemaAndKeys()
    {
        QCOMPARE(column(QStringLiteral(
                     "select type || ' ' || name || ': ' || (select group_concat(name) from (select name "
                     "from pragma_table_info(m.name) union all select name from pragma_index_info(m.name))) "
                     "from sqlite_master m where sql is not null order by type, name")),
                 QStringList({"index index_countries_pnum: pnum", "index index_mmc_sn: sn",
                              "table countries: sn,ln,pnum,mmc,numc,u2,r1,r2,r3,r4,mnc_rx,n",
                              "table mmc_sn: mmc,sn"}));
        QCOMPARE(column(QStringLiteral("select sn from countries order by sn")),
                 QString::fromLatin1(kRegions).split(u' '));
        QCOMPARE(column(QStringLiteral("select sn from countries where r1 = '' or r1 is null")).size(), 3);
    }

    void shippedTellingRows_data()
    {
        QTest::addColumn<QString>("sn");
        QTest::addColumn<QString>("row"); // ln|pnum|mmc|numc|n
        QTest::addColumn<QString>("r1");  // "long 7": more than 40 characters starting with 7
        addRow("GB", {"GB", "United Kingdom|44|234,235|10|United Kingdom", "long 7"});
        addRow("US", {"US", "United States|1|310,311,312,313,314,315,316|10|United States", "long"});
        addRow("CN", {"CN", "中国|86|460|11|China", R"(1(?:3\d|4[57]|[58][0-35-9])\d{8}|184\d{8})"});
        addRow("IN", {"IN", "India|91|404,405|10|India", R"([7-9]\d{9})"});
        addRow("DE", {"DE", "Deutschland|49|262|7,8,9,10,11,12|Germany",
                      R"(15[0-25-9]\d{8}|16[023]\d{7,8}|17\d{8,9})"});
        addRow("RU", {"RU", "Россия|7|250|10|Russia", R"(9\d{9})"});
        addRow("NL", {"NL", "Nederland|31|204|9|Netherlands", R"(6[1-58]\d{7})"});
        addRow("KR", {"KR", "대한민국|82|450|9,10|South Korea", R"(1[0-26-9]\d{7,8})"});
        addRow("IT", {"IT", "Italia|39|222|9,10|Italy", R"(3(?:[12457-9]\d{8}|6\d{7,8}|3\d{7,9}))"});
        addRow("AX", {"AX", "Åland|358|999|6,7,8,9,10,11|Åland Islands", R"(4\d{5,10}|50\d{4,8})"});
        addRow("AC", {"AC", "Ascension Island|247|999|4|Ascension Island", ""});
    }

    void shippedTellingRows()
    {
        QFETCH(QString, sn);
        QFETCH(QString, row);
        QFETCH(QString, r1);
        const QString where = QStringLiteral(" from countries where sn='%1'").arg(sn);
        QCOMPARE(column(QStringLiteral("select ln||'|'||pnum||'|'||mmc||'|'||numc||'|'||n") + where),
                 QStringList{row});
        const QString pattern = column(QStringLiteral("select r1") + where).value(0);
        if (r1.startsWith(QLatin1String("long")))
            QVERIFY2(pattern.size() > 40 && pattern.startsWith(r1.mid(5)), qPrintable(pattern));
        else
            QCOMPARE(pattern, r1);
    }

    void shippedMccTableIsConsistent()
    {
        QHash<QString, QStringList> lists; // region → its MCCs
        Sqlite3Cursor row =
            shipped.queryThrow(Sqlite3Sql(QStringLiteral("select sn, mmc, r1 from countries")));
        while (row.moveNext()) {
            lists.insert(row.getText(0), row.getText(1).split(u','));
            const QRegularExpression rx(anchoredMobilePattern(row.getText(2)));
            QVERIFY2(rx.isValid(), qPrintable(row.getText(0) + u' ' + rx.errorString()));
        }
        QHash<QString, QString> owners; // MCC → region
        row = shipped.queryThrow(Sqlite3Sql(QStringLiteral("select mmc, sn from mmc_sn")));
        while (row.moveNext())
            owners.insert(row.getText(0), row.getText(1));
        QCOMPARE(owners.value(QStringLiteral("234")), QStringLiteral("GB"));
        QCOMPARE(owners.value(QStringLiteral("235")), QStringLiteral("GB"));
        QCOMPARE(owners.value(QStringLiteral("999")), QStringLiteral("AX"));
        // Every owner lists its MCC, and every listed MCC has an owner.
        for (auto it = owners.cbegin(); it != owners.cend(); ++it)
            QVERIFY2(lists.value(it.value()).contains(it.key()), qPrintable(it.key()));
        for (auto it = lists.cbegin(); it != lists.cend(); ++it) {
            for (const QString& mcc : it.value())
                QVERIFY2(owners.contains(mcc), qPrintable(it.key() + u' ' + mcc));
        }
    }
};

QTEST_GUILESS_MAIN(TestCountry)
#include "tst_country.moc"
