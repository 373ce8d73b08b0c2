#include "country/CountryInfo.h"

#include <QThread>
#include <QtTest>

#include <atomic>
#include <memory>
#include <vector>

namespace {

// Germany's mobile ranges written as three top-level alternatives.
const QString kGermanMobile = QStringLiteral(R"(15[0-25-9]\d{8}|16[023]\d{7,8}|17\d{8,9})");

CountryInfo withMobilePattern(const QString& r1)
{
    CountryInfo info;
    info.mobileRx = anchoredMobilePattern(r1);
    return info;
}

} // namespace

class TestCountryInfo : public QObject
{
    Q_OBJECT

private slots:
    void isNationalLength_data();
    void isNationalLength();
    void isMobileNumber_data();
    void isMobileNumber();
    void emptyRecordHasNoMobileNumbers();
    void isMobileNumberFromSeveralThreads();
};

void TestCountryInfo::isNationalLength_data()
{
    QTest::addColumn<QString>("numc");
    QTest::addColumn<int>("length");
    QTest::addColumn<bool>("expected");

    QTest::newRow("single match") << "10" << 10 << true;
    QTest::newRow("single other") << "10" << 9 << false;
    QTest::newRow("pair first") << "9,10" << 9 << true;
    QTest::newRow("pair second") << "9,10" << 10 << true;
    QTest::newRow("range last") << "7,8,9,10,11,12" << 12 << true;
    QTest::newRow("below range") << "7,8,9,10,11,12" << 6 << false;
    QTest::newRow("above range") << "7,8,9,10,11,12" << 13 << false;
    QTest::newRow("null list is length 0") << QString() << 0 << true;
    QTest::newRow("null list other") << QString() << 10 << false;
    QTest::newRow("empty part is length 0") << "9,,10" << 0 << true;
    QTest::newRow("non-numeric part is length 0") << "9,x" << 0 << true;
    QTest::newRow("no empty part") << "9,10" << 0 << false;
    QTest::newRow("negative length") << "9,10" << -1 << false;
}

void TestCountryInfo::isNationalLength()
{
    QFETCH(QString, numc);
    QFETCH(int, length);
    QFETCH(bool, expected);
    CountryInfo info;
    info.numc = numc;
    QCOMPARE(info.isNationalLength(length), expected);
}

void TestCountryInfo::isMobileNumber_data()
{
    QTest::addColumn<QString>("r1");
    QTest::addColumn<QString>("digits");
    QTest::addColumn<bool>("expected");

    QTest::newRow("simple match") << R"([7-9]\d{9})"
                                  << "9876543210" << true;
    QTest::newRow("simple too long") << R"([7-9]\d{9})"
                                     << "98765432101" << false;
    QTest::newRow("simple with trunk 0") << R"([7-9]\d{9})"
                                         << "09876543210" << false;
    QTest::newRow("first alternative") << kGermanMobile << "15100000000" << true;
    QTest::newRow("middle alternative") << kGermanMobile << "1620000000" << true;
    QTest::newRow("last alternative") << kGermanMobile << "1701234567" << true;
    // Every alternative must cover the whole text, not only the first and the last.
    QTest::newRow("first alternative after 0") << kGermanMobile << "015100000000" << false;
    QTest::newRow("last alternative after 0") << kGermanMobile << "01701234567" << false;
    QTest::newRow("last alternative after 99") << kGermanMobile << "991701234567" << false;
    QTest::newRow("first alternative with tail") << kGermanMobile << "151000000001234" << false;
    QTest::newRow("empty pattern, empty text") << ""
                                               << "" << true;
    QTest::newRow("empty pattern, digits") << ""
                                           << "1" << false;
    QTest::newRow("case-sensitive") << R"(a\d)"
                                    << "A1" << false;
    QTest::newRow("invalid pattern") << "("
                                     << "(" << false;
}

void TestCountryInfo::isMobileNumber()
{
    QFETCH(QString, r1);
    QFETCH(QString, digits);
    QFETCH(bool, expected);
    QCOMPARE(withMobilePattern(r1).isMobileNumber(digits), expected);
}

void TestCountryInfo::emptyRecordHasNoMobileNumbers()
{
    const CountryInfo empty;
    QVERIFY(empty.mobileRx.isNull());
    QVERIFY(!empty.isMobileNumber(QString()));
    QVERIFY(!empty.isMobileNumber(QStringLiteral("07400000000")));
}

void TestCountryInfo::isMobileNumberFromSeveralThreads()
{
    // Each thread keeps its own compiled patterns; shared records must give
    // the same answers everywhere.
    const CountryInfo german = withMobilePattern(kGermanMobile);
    const CountryInfo indian = withMobilePattern(QStringLiteral(R"([7-9]\d{9})"));
    std::atomic<int> wrong{0};
    std::vector<std::unique_ptr<QThread>> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back(QThread::create([&] {
            for (int i = 0; i < 500; ++i) {
                if (!german.isMobileNumber(QStringLiteral("15100000000")) ||
                    german.isMobileNumber(QStringLiteral("015100000000")) ||
                    !indian.isMobileNumber(QStringLiteral("9876543210")))
                    ++wrong;
            }
        }));
        threads.back()->start();
    }
    for (auto& thread : threads)
        QVERIFY(thread->wait(60000));
    QCOMPARE(wrong.load(), 0);
}

QTEST_GUILESS_MAIN(TestCountryInfo)
#include "tst_countryinfo.moc"
