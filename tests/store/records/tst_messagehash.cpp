#include "store/MessageHash.h"
#include "store/MsgAttachment.h"
#include "store/MsgHandle.h"
#include "store/MsgMessage.h"

#include <QCryptographicHash>
#include <QRegularExpression>
#include <QTest>

#include <vector>

namespace {

// The hashed bytes spelt out field by field.
QByteArray expectedBytes(const QByteArray& handleId, qint32 date, quint8 fromMe, const QByteArray& text,
                         const QByteArray& names)
{
    QByteArray bytes = handleId;
    const quint32 d = quint32(date);
    bytes.append(char(d & 0xFF));
    bytes.append(char((d >> 8) & 0xFF));
    bytes.append(char((d >> 16) & 0xFF));
    bytes.append(char((d >> 24) & 0xFF));
    bytes.append(char(fromMe));
    bytes.append(text);
    bytes.append(names);
    return bytes;
}

QString md5Hex(const QByteArray& bytes)
{
    return QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Md5).toHex());
}

struct Fixture
{
    _MsgHandle handle;
    std::vector<_MsgAttachment> attachments;
    _MsgMessage message;

    explicit Fixture(const QStringList& fileNames = {}) : attachments(fileNames.size())
    {
        handle.id = QStringLiteral("+15551234567");
        message.handle = &handle;
        message.guid = QStringLiteral("guid-1");
        message.date = 700000000;
        message.is_from_me = 1;
        message.text = QStringLiteral("Hi ") + QChar(0xFFFC) + QStringLiteral("there \u00e9");
        for (int i = 0; i < fileNames.size(); ++i) {
            attachments[i].filename = fileNames.at(i);
            message.attachments.insert(i + 1, &attachments[i]);
        }
    }
};

} // namespace

class TestMessageHash : public QObject
{
    Q_OBJECT

private slots:
    void knownVector()
    {
        // Computed with Python's hashlib over
        // b"+15551234567" + pack("<i", 700000000) + b"\x01" + "Hi there é".encode() + b"b.png" +
        // b"img_0001.jpg"
        Fixture f({QStringLiteral("/var/mobile/IMG_0001.JPG"), QStringLiteral("C:\\Temp\\B.png"), QString()});
        QCOMPARE(logicHash(f.message), QStringLiteral("ce908a5027bc12936697a541f304215c"));
    }

    void byteLayout_data()
    {
        QTest::addColumn<bool>("withHandle");
        QTest::addColumn<int>("date");
        QTest::addColumn<int>("fromMe");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("fileNames");
        QTest::addColumn<QByteArray>("names");
        QTest::newRow("no handle") << false << 12345 << 0 << "plain" << QStringList{} << QByteArray();
        QTest::newRow("negative date") << true << -1 << 1 << "x" << QStringList{} << QByteArray();
        QTest::newRow("only the low byte of is_from_me")
            << true << 5 << 0x102 << "x" << QStringList{} << QByteArray();
        QTest::newRow("empty text") << true << 0 << 0 << "" << QStringList{} << QByteArray();
        QTest::newRow("names sorted by code unit, after lower-casing")
            << true << 9 << 0 << "t" << QStringList{"dir/Zeta.txt", "a\\b\\alpha.JPG", "Beta.gif"}
            << QByteArray("alpha.jpgbeta.gifzeta.txt");
        QTest::newRow("empty file names skipped, folder-only name adds nothing")
            << true << 9 << 0 << "t" << QStringList{"", "folder/", "x/Y"} << QByteArray("y");
        QTest::newRow("non-ASCII name") << true << 9 << 0 << "t" << QStringList{"/p/\u00c9t\u00e9.PNG"}
                                        << QString("\u00e9t\u00e9.png").toUtf8();
    }

    void byteLayout()
    {
        QFETCH(bool, withHandle);
        QFETCH(int, date);
        QFETCH(int, fromMe);
        QFETCH(QString, text);
        QFETCH(QStringList, fileNames);
        QFETCH(QByteArray, names);
        Fixture f(fileNames);
        if (!withHandle)
            f.message.handle = nullptr;
        f.message.date = date;
        f.message.is_from_me = fromMe;
        f.message.text = text;
        const QByteArray bytes = expectedBytes(withHandle ? QByteArray("+15551234567") : QByteArray(), date,
                                               quint8(fromMe & 0xFF), text.toUtf8(), names);
        QCOMPARE(logicHash(f.message), md5Hex(bytes));
    }

    void ordinaryMessageIgnoresGuidButNotContent()
    {
        const QString base = logicHash(Fixture().message);
        QCOMPARE(base.size(), 32);
        QVERIFY(QRegularExpression(QStringLiteral("^[0-9a-f]{32}$")).match(base).hasMatch());

        Fixture other;
        other.message.guid = QStringLiteral("another guid");
        other.message.rowid = 99;
        QCOMPARE(logicHash(other.message), base);

        Fixture date;
        date.message.date += 1;
        QVERIFY(logicHash(date.message) != base);
        Fixture direction;
        direction.message.is_from_me = 0;
        QVERIFY(logicHash(direction.message) != base);
        Fixture text;
        text.message.text += QLatin1Char('!');
        QVERIFY(logicHash(text.message) != base);
        Fixture handle;
        handle.handle.id = QStringLiteral("+15550000000");
        QVERIFY(logicHash(handle.message) != base);
        Fixture noHandle;
        noHandle.message.handle = nullptr;
        QVERIFY(logicHash(noHandle.message) != base);
        Fixture attachment({QStringLiteral("a.jpg")});
        QVERIFY(logicHash(attachment.message) != base);
    }

    void objectMarkersDoNotCount()
    {
        Fixture withMarker;
        Fixture without;
        without.message.text.remove(QChar(0xFFFC));
        QCOMPARE(logicHash(withMarker.message), logicHash(without.message));
    }

    void systemMessageHashesGuidAlone()
    {
        Fixture a;
        a.message.item_type = 2;
        a.message.guid = QStringLiteral("SYS-GUID-1");
        // hashlib.md5(b"SYS-GUID-1").hexdigest()
        QCOMPARE(logicHash(a.message), QStringLiteral("27c8a62fa1bff5e202040969d25e1604"));

        Fixture b({QStringLiteral("x.png")});
        b.message.item_type = 2;
        b.message.guid = a.message.guid;
        b.message.date = 1;
        b.message.is_from_me = 0;
        b.message.text = QStringLiteral("different");
        b.message.handle = nullptr;
        QCOMPARE(logicHash(b.message), logicHash(a.message));

        b.message.guid = QStringLiteral("SYS-GUID-2");
        QVERIFY(logicHash(b.message) != logicHash(a.message));
    }

    void guidFromBytes_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("guid");
        QTest::newRow("abc") << QByteArray("abc") << "90015098-3CD2-4FB0-D696-3F7D28E17F72";
        QTest::newRow("empty") << QByteArray() << "D41D8CD9-8F00-B204-E980-0998ECF8427E";
    }

    void guidFromBytes()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, guid);
        QCOMPARE(::guidFromBytes(bytes), guid);
    }
};

QTEST_GUILESS_MAIN(TestMessageHash)
#include "tst_messagehash.moc"
