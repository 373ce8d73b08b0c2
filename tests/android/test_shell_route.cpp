// Reading a phone over the adb shell, the pure parts: the rows `content
// query` prints (one line each with hex columns, or records anchored at the
// counted ids), the command lines sent, and the phone record from getprop.
#include "android/AndroidDevice.h"
#include "android/ContentQueryRows.h"
#include "android/ShellRoute.h"
#include "tests/kit/TestHome.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QtTest>

namespace {

// A row as "index|value|value...", NULL written <NULL>.
QString rowText(const ContentRow& row)
{
    QStringList parts{QString::number(row.index)};
    for (const ContentValue& value : row.values)
        parts << (value.null ? QStringLiteral("<NULL>") : value.text);
    return parts.join(QLatin1Char('|'));
}

QVector<qint64> idList(const QString& text)
{
    QVector<qint64> ids;
    for (const QString& id : text.split(QLatin1Char(','), Qt::SkipEmptyParts))
        ids << id.toLongLong();
    return ids;
}

} // namespace

class TestShellRoute : public QObject
{
    Q_OBJECT

private slots:
    void rows_data();
    void rows();
    void commandLines();
    void hexText_data();
    void hexText();
    void deviceRecord_data();
    void deviceRecord();
    void shellCacheStaysApart();

private:
    TestHome home;
};

void TestShellRoute::rows_data()
{
    QTest::addColumn<QString>("anchors"); // empty: one row a line (hex); else the counted ids
    QTest::addColumn<QString>("projection");
    QTest::addColumn<QByteArray>("output");
    QTest::addColumn<QStringList>("expected");
    QTest::addColumn<QString>("error"); // contained in the error text; empty: none

    const QString hex = QStringLiteral("_id:date:hex(body)");
    const QString raw = QStringLiteral("_id:date:subject:body");
    const QStringList none;
    // One line per row, hex-encoded.
    QTest::newRow("hex rows") << QString() << hex
                              << QByteArray("Row: 0 _id=1, date=5, hex(body)=6869\n"
                                            "Row: 1 _id=2, date=6, hex(body)=F09F9880\n")
                              << QStringList{"0|1|5|hi", QString::fromUtf8("1|2|6|\U0001F600")} << QString();
    QTest::newRow("hex is UTF-8, not Latin-1")
        << QString() << hex << QByteArray("Row: 0 _id=1, date=5, hex(body)=68C3A9")
        << QStringList{"0|1|5|h\u00e9"} << QString();
    QTest::newRow("empty hex is empty text, NULL raw is NULL")
        << QString() << QStringLiteral("_id:subject:hex(body)")
        << QByteArray("Row: 0 _id=1, subject=NULL, hex(body)=\nRow: 1 _id=2, subject=, hex(body)=61\n")
        << QStringList{"0|1|<NULL>|", "1|2||a"} << QString();
    QTest::newRow("no rows") << QString() << hex << QByteArray("No result found.\n") << none << QString();
    QTest::newRow("CR LF undone") << QString() << hex
                                  << QByteArray("Row: 0 _id=1, date=5, hex(body)=61\r\n"
                                                "Row: 1 _id=2, date=6, hex(body)=62\r\n")
                                  << QStringList{"0|1|5|a", "1|2|6|b"} << QString();
    QTest::newRow("a row skipped") << QString() << hex
                                   << QByteArray("Row: 0 _id=1, date=5, hex(body)=61\n"
                                                 "Row: 2 _id=3, date=6, hex(body)=62\n")
                                   << none << "row 1 expected";
    QTest::newRow("a column missing")
        << QString() << hex << QByteArray("Row: 0 _id=1, hex(body)=61\n") << none << "column date missing";
    QTest::newRow("not hex") << QString() << hex << QByteArray("Row: 0 _id=1, date=5, hex(body)=6G\n") << none
                             << "column hex(body) is not hex";
    QTest::newRow("odd hex") << QString() << hex << QByteArray("Row: 0 _id=1, date=5, hex(body)=616\n")
                             << none << "is not hex";
    QTest::newRow("provider error") << QString() << hex
                                    << QByteArray("Error while accessing provider:sms\n"
                                                  "java.lang.IllegalArgumentException: Invalid column\n")
                                    << none << "the test query could not be read";
    QTest::newRow("text after no rows")
        << QString() << hex << QByteArray("No result found.\nRow: 0 _id=1, date=5, hex(body)=61\n") << none
        << "after \"No result found.\"";

    // Records that may span lines, anchored at the counted ids.
    QTest::newRow("anchored: lines, \", x=\" and a forged next row kept in the body")
        << "5,9" << raw
        << QByteArray("Row: 0 _id=5, date=1, subject=NULL, body=a, date=2\n"
                      "Row: 1 _id=9, date=3, subject=NULL, body=forged\n"
                      "more\n"
                      "Row: 1 _id=9, date=4, subject=s, body=real\n")
        << QStringList{"0|5|1|<NULL>|a, date=2\nRow: 1 _id=9, date=3, subject=NULL, body=forged\nmore",
                       "1|9|4|s|real"}
        << QString();
    QTest::newRow("anchored: a row with another id is text")
        << "5,9" << raw
        << QByteArray("Row: 0 _id=5, date=1, subject=, body=x\nRow: 1 _id=7, date=2, subject=, body=y\n"
                      "Row: 1 _id=9, date=3, subject=, body=z")
        << QStringList{"0|5|1||x\nRow: 1 _id=7, date=2, subject=, body=y", "1|9|3||z"} << QString();
    QTest::newRow("anchored: emoji, NULL body, CR LF")
        << "1,2" << raw
        << QByteArray("Row: 0 _id=1, date=1, subject=NULL, body=\xF0\x9F\x98\x80\r\nline two\r\n"
                      "Row: 1 _id=2, date=2, subject=NULL, body=NULL\r\n")
        << QStringList{QString::fromUtf8("0|1|1|<NULL>|\U0001F600\nline two"), "1|2|2|<NULL>|<NULL>"}
        << QString();
    QTest::newRow("anchored: no rows")
        << QString("") << raw << QByteArray("No result found.\n") << none << QString();
    QTest::newRow("anchored: short stream")
        << "5,9" << raw << QByteArray("Row: 0 _id=5, date=1, subject=, body=x\n") << QStringList{"0|5|1||x"}
        << QString();
    QTest::newRow("anchored: first row not as counted")
        << "5,9" << raw << QByteArray("Row: 0 _id=6, date=1, subject=, body=x\n") << none
        << "does not begin as counted";
    QTest::newRow("anchored: more rows than counted")
        << "5" << raw
        << QByteArray("Row: 0 _id=5, date=1, subject=, body=x\nRow: 1 _id=6, date=2, subject=, body=y\n")
        << none << "more rows than were counted";
}

void TestShellRoute::rows()
{
    QFETCH(QString, anchors);
    QFETCH(QString, projection);
    QFETCH(QByteArray, output);
    QFETCH(QStringList, expected);
    QFETCH(QString, error);
    ContentQueryRows parser(QStringLiteral("the test query"), projection);
    if (QByteArray(QTest::currentDataTag()).startsWith("anchored"))
        parser.anchorAt(idList(anchors));
    QStringList rows;
    QString thrown;
    try {
        QList<QByteArray> lines = output.split('\n');
        if (output.endsWith('\n'))
            lines.removeLast();
        ContentRow row;
        for (const QByteArray& line : lines) {
            parser.addLine(line);
            while (parser.takeRow(&row))
                rows << rowText(row);
        }
        parser.finish();
        while (parser.takeRow(&row))
            rows << rowText(row);
    } catch (const std::exception& e) {
        thrown = QString::fromUtf8(e.what());
    }
    if (error.isEmpty()) {
        QCOMPARE(thrown, QString());
        QCOMPARE(rows, expected);
        QCOMPARE(parser.noResult(), output.startsWith("No result found."));
    } else {
        QVERIFY2(thrown.contains(error), qPrintable(thrown));
        QVERIFY2(thrown.contains(QStringLiteral("the test query")), qPrintable(thrown));
    }
}

// The command lines are a contract with the phone's shell: quoted where sh would split or choke.
void TestShellRoute::commandLines()
{
    using namespace ShellRoute;
    QCOMPARE(contentQueryArgs(QStringLiteral("S1"), QLatin1String(kSmsUri), QLatin1String(kIdProjection)),
             (QStringList{"-s", "S1", "shell", "content", "query", "--uri", "content://sms", "--projection",
                          "_id", "--sort", "\"_id ASC\""}));
    QCOMPARE(contentQueryArgs(QStringLiteral("S1"), QLatin1String(kSmsUri), QLatin1String(kSmsHexProjection))
                 .at(8),
             QStringLiteral("'_id:date:type:read:hex(address):hex(subject):hex(body)'"));
    QCOMPARE(contentQueryArgs(QStringLiteral("S1"), QLatin1String(kSmsUri), QLatin1String(kSmsRawProjection))
                 .at(8),
             QStringLiteral("'_id:date:type:read:address:subject:body'"));
    QCOMPARE(contentQueryArgs(QStringLiteral("S1"), QLatin1String(kContactsUri),
                              QLatin1String(kContactHexProjection)),
             (QStringList{"-s", "S1", "shell", "content", "query", "--uri",
                          "content://com.android.contacts/data/phones", "--projection",
                          "'_id:hex(data1):hex(display_name)'", "--sort", "\"_id ASC\""}));
    QCOMPARE(getpropArgs(QStringLiteral("S1"), QStringLiteral("ro.build.version.sdk")),
             (QStringList{"-s", "S1", "shell", "getprop", "ro.build.version.sdk"}));
}

void TestShellRoute::hexText_data()
{
    QTest::addColumn<QByteArray>("hex");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<QString>("text");
    QTest::newRow("upper") << QByteArray("C3A9") << true << QString::fromUtf8("\u00e9");
    QTest::newRow("lower") << QByteArray("c3a9") << true << QString::fromUtf8("\u00e9");
    QTest::newRow("empty") << QByteArray() << true << QString();
    QTest::newRow("odd") << QByteArray("C3A") << false << QString();
    QTest::newRow("space") << QByteArray("C3 9") << false << QString();
}

void TestShellRoute::hexText()
{
    QFETCH(QByteArray, hex);
    QFETCH(bool, ok);
    QFETCH(QString, text);
    QString decoded;
    QCOMPARE(decodeHexText(hex, &decoded), ok);
    if (ok)
        QCOMPARE(decoded, text);
}

void TestShellRoute::deviceRecord_data()
{
    QTest::addColumn<QString>("operators"); // gsm.sim.operator.numeric as getprop prints it
    QTest::addColumn<QString>("sdkOutput"); // ro.build.version.sdk as getprop prints it
    QTest::addColumn<QString>("mmc");
    QTest::addColumn<int>("sdkId");
    QTest::addColumn<int>("level"); // what the route choice reads
    QTest::newRow("one SIM") << "310260\n"
                             << "33\n"
                             << "310" << 33 << 33;
    QTest::newRow("two SIMs") << "310260,23410\n"
                              << "30\n"
                              << "310" << 30 << 30;
    QTest::newRow("first slot empty") << ",23410\n"
                                      << "29\n"
                                      << "234" << 29 << 29;
    QTest::newRow("no SIM") << "\n"
                            << "29\n"
                            << QString() << 29 << 29;
    QTest::newRow("CR LF, padded") << " 26201 \r\n"
                                   << " 31 \r\n"
                                   << "262" << 31 << 31;
    QTest::newRow("unset level") << "310260\n"
                                 << "\n"
                                 << "310" << 0 << 0;
}

void TestShellRoute::deviceRecord()
{
    QFETCH(QString, operators);
    QFETCH(QString, sdkOutput);
    QFETCH(QString, mmc);
    QFETCH(int, sdkId);
    QFETCH(int, level);
    const QHash<QString, QString> printed = {{"ro.product.manufacturer", "Acme\n"},
                                             {"ro.product.model", "X1 Pro\n"},
                                             {"ro.build.version.release", "13\n"},
                                             {"ro.build.version.sdk", sdkOutput},
                                             {"gsm.sim.operator.numeric", operators}};
    QStringList asked;
    AndroidDevice record;
    record.serial = QStringLiteral("R58M1234");
    ShellRoute::fillShellRecord(record, [&](const QString& name) {
        asked << name;
        return ShellRoute::propertyValue(printed.value(name, QStringLiteral("\n")));
    });
    QCOMPARE(asked.size(), 5);
    QCOMPARE(asked.removeDuplicates(), 0);
    QVERIFY(record.viaAdbShell);
    QVERIFY(!record.isWifi);
    QCOMPARE(record.manufacturer, QStringLiteral("Acme"));
    QCOMPARE(record.model, QStringLiteral("X1 Pro"));
    QCOMPARE(record.sdk, QStringLiteral("13"));
    QCOMPARE(record.sdkId, sdkId);
    QCOMPARE(record.mmc, mmc);
    QCOMPARE(record.uid, QStringLiteral("adb-shell:R58M1234"));
    QCOMPARE(record.deviceId(), QStringLiteral("R58M1234"));
    QCOMPARE(record.imei, QString());
    QCOMPARE(ShellRoute::sdkLevel(ShellRoute::propertyValue(sdkOutput)), level);
}

// The shell route's cache is named by the cleaned serial, apart from the
// companion's cache of the same phone.
void TestShellRoute::shellCacheStaysApart()
{
    AndroidDevice shell;
    shell.serial = QStringLiteral("192.168.0.5:5555");
    ShellRoute::fillShellRecord(shell, [](const QString&) { return QString(); });
    AndroidDevice companion;
    companion.serial = shell.serial;
    companion.uid = QStringLiteral("u1");
    QCOMPARE(QFileInfo(shell.cacheDir()).fileName(), QStringLiteral("shell-192.168.0.55555"));
    QCOMPARE(QFileInfo(shell.cacheDir()).dir().dirName(), QStringLiteral("android_cache"));
    QVERIFY(QFileInfo(shell.cacheDir()).isDir());
    QVERIFY(shell.cacheDir() != companion.cacheDir());
}

QTEST_GUILESS_MAIN(TestShellRoute)
#include "test_shell_route.moc"
