#include "country/CountryInfo.h"
#include "country/CountryLibDb.h"

#include <QHash>
#include <QTemporaryDir>
#include <QtTest>

// Normalisation with the rows of the country library as shipped.
class TestNormalizePhoneNumber : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void normalize_data();
    void normalize();

private:
    QTemporaryDir home;
    QHash<QString, CountryInfo> countries; // by region code; "empty" is the empty record
};

void TestNormalizePhoneNumber::initTestCase()
{
    QVERIFY(home.isValid());
    qputenv("HOME", home.path().toUtf8());
    CountryLibDb db(QString{});
    for (const char* sn : {"GB", "CN", "DE"}) {
        bool found = false;
        countries.insert(QString::fromLatin1(sn), db.findBySn(QString::fromLatin1(sn), &found));
        QVERIFY2(found, sn);
    }
    countries.insert(QStringLiteral("empty"), CountryInfo());
}

void TestNormalizePhoneNumber::normalize_data()
{
    QTest::addColumn<QString>("country");
    QTest::addColumn<QString>("address");
    QTest::addColumn<QString>("expected");

    // Rule 5: trunk prefix 0 before a mobile number.
    QTest::newRow("GB trunk 0") << "GB"
                                << "07400 000000"
                                << "+447400000000";
    // Rule 4: a national mobile number.
    QTest::newRow("GB national") << "GB"
                                 << "7400000000"
                                 << "+447400000000";
    // Rule 6: calling code without plus sign, no mobile check.
    QTest::newRow("GB calling code") << "GB"
                                     << "447400000000"
                                     << "+447400000000";
    QTest::newRow("GB calling code, landline") << "GB"
                                               << "441632960000"
                                               << "+441632960000";
    // Rule 3: anything with a plus sign.
    QTest::newRow("GB international") << "GB"
                                      << "+44 7400 000000"
                                      << "+447400000000";
    QTest::newRow("plus in the middle") << "GB"
                                        << "12+34"
                                        << "12+34";
    QTest::newRow("plus in the middle, empty record") << "empty"
                                                      << "12+34"
                                                      << "12+34";
    // Rule 7: the international call prefix 00 is not recognised.
    QTest::newRow("GB 00 prefix") << "GB"
                                  << "0044 7400 000000"
                                  << "00447400000000";
    QTest::newRow("GB landline") << "GB"
                                 << "01632 960000"
                                 << "01632960000";
    // Rule 1: letters and @ keep everything, lower-cased.
    QTest::newRow("GB named sender") << "GB"
                                     << "BankAlert"
                                     << "bankalert";
    QTest::newRow("named sender keeps punctuation") << "GB"
                                                    << "HSBC-UK (Info)"
                                                    << "hsbc-uk (info)";
    QTest::newRow("e-mail address") << "GB"
                                    << "Jane.Doe@Example.COM"
                                    << "jane.doe@example.com";
    QTest::newRow("at sign among digits") << "CN"
                                          << "+86 @ 138"
                                          << "+86 @ 138";
    QTest::newRow("letters, empty record") << "empty"
                                           << "Info 07400"
                                           << "info 07400";
    QTest::newRow("non-ASCII letters are stripped") << "empty"
                                                    << "ÄÖÜ 123"
                                                    << "123";
    QTest::newRow("CN national") << "CN"
                                 << "138-0000-0000"
                                 << "+8613800000000";
    QTest::newRow("CN calling code") << "CN"
                                     << "8613800000000"
                                     << "+8613800000000";
    QTest::newRow("CN landline") << "CN"
                                 << "(010) 0000-0000"
                                 << "01000000000";
    QTest::newRow("CN international") << "CN"
                                      << "+86 138 0000 0000"
                                      << "+8613800000000";
    QTest::newRow("empty record, trunk 0") << "empty"
                                           << "07400 000000"
                                           << "07400000000";
    // A mobile pattern with several alternatives must hold for the whole number.
    QTest::newRow("DE trunk 0, first alternative") << "DE"
                                                   << "015100000000"
                                                   << "+4915100000000";
    QTest::newRow("DE trunk 0, last alternative") << "DE"
                                                  << "0170 1234567"
                                                  << "+491701234567";
    QTest::newRow("DE mobile digits at the end") << "DE"
                                                 << "99 1701234567"
                                                 << "991701234567";
    QTest::newRow("DE national") << "DE"
                                 << "1701234567"
                                 << "+491701234567";
    // Nothing left after stripping.
    QTest::newRow("GB empty") << "GB"
                              << ""
                              << "";
    QTest::newRow("GB punctuation only") << "GB"
                                         << "(-) ."
                                         << "";
    QTest::newRow("empty record, empty") << "empty"
                                         << ""
                                         << "+";
    QTest::newRow("empty record, punctuation only") << "empty"
                                                    << " - "
                                                    << "+";
    QTest::newRow("null address, empty record") << "empty" << QString() << "+";
}

void TestNormalizePhoneNumber::normalize()
{
    QFETCH(QString, country);
    QFETCH(QString, address);
    QFETCH(QString, expected);
    QVERIFY(countries.contains(country));
    QCOMPARE(normalizePhoneNumber(countries.value(country), address), expected);
}

QTEST_GUILESS_MAIN(TestNormalizePhoneNumber)
#include "tst_normalizephonenumber.moc"
