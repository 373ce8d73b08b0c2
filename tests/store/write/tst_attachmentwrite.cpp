#include "store/ExportMessagesDb.h"
#include "store/sql/Sqlite3DB.h"
#include "tests/store/write/WriteTestRecords.h"

#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

using WriteTestDb::scalar;
using WriteTestDb::text;

// Attachments written with a message: the rows and joins, and the copy of
// each file below the database's file-relay folder, never anywhere else.
class TestAttachmentWrite : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void fileIsCopiedBelowRelayFolder_data();
    void fileIsCopiedBelowRelayFolder();
    void hostileNameWritesNothingOutsideRelayFolder_data();
    void hostileNameWritesNothingOutsideRelayFolder();
    void existingFileIsLeftAlone();
    void rowsAreWrittenInRowidOrderAndJoined();
    void missingSourceStillWritesRow();

private:
    QDir folder() const { return QDir(dir->filePath(QStringLiteral("db"))); }
    QString relay() const { return folder().filePath(QStringLiteral("file-relay")); }
    QString source(const QByteArray& bytes);
    void writeWithAttachments(const QList<QPair<QString, QString>>& files);
    // Every file below the temporary folder except the database file itself.
    QStringList filesWritten() const;

    QTemporaryDir home;
    std::unique_ptr<QTemporaryDir> dir;
    std::unique_ptr<QTemporaryDir> sources;
    WriteTestRecords records;
};

void TestAttachmentWrite::initTestCase()
{
    QVERIFY(home.isValid());
    qputenv("HOME", QFile::encodeName(home.path()));
}

void TestAttachmentWrite::init()
{
    dir = std::make_unique<QTemporaryDir>();
    sources = std::make_unique<QTemporaryDir>();
    QVERIFY(dir->isValid());
    QVERIFY(sources->isValid());
}

QString TestAttachmentWrite::source(const QByteArray& bytes)
{
    static int counter = 0;
    const QString path = sources->filePath(QStringLiteral("source%1.bin").arg(++counter));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write the source file");
    return path;
}

void TestAttachmentWrite::writeWithAttachments(const QList<QPair<QString, QString>>& files)
{
    _MsgHandle* ann = records.handle(QStringLiteral("+447700900001"));
    _MsgMessage* message =
        records.message(records.singleChat(ann), ann, 100 + int(records.set.messages.size()), false, "photo");
    for (const auto& file : files)
        records.attachment(message, file.first, file.second);
    ExportMessagesDb exporter(folder(), QString());
    exporter.begin();
    exporter.write(*message);
    exporter.end();
}

QStringList TestAttachmentWrite::filesWritten() const
{
    QStringList files;
    QDirIterator it(dir->path(), QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        if (!path.endsWith(QLatin1String("/sms.db")) && !path.contains(QLatin1String("/sms.db-")))
            files.append(QDir(dir->path()).relativeFilePath(path));
    }
    files.sort();
    return files;
}

void TestAttachmentWrite::fileIsCopiedBelowRelayFolder_data()
{
    QTest::addColumn<QString>("filename");
    QTest::addColumn<QString>("stored");
    QTest::newRow("home prefix") << "~/Library/SMS/Attachments/ab/IMG_0001.jpg"
                                 << "var/mobile/Library/SMS/Attachments/ab/IMG_0001.jpg";
    QTest::newRow("root prefix") << "/var/mobile/Library/SMS/Attachments/cd/IMG_0002.jpg"
                                 << "var/mobile/Library/SMS/Attachments/cd/IMG_0002.jpg";
    QTest::newRow("relative") << "Attachments/x.png"
                              << "Attachments/x.png";
    QTest::newRow("forbidden characters") << "~/a/b:c*d?e\"f<g>h|i.jpg"
                                          << "var/mobile/a/bcdefghi.jpg";
    QTest::newRow("dot segments inside") << "~/Library/../Media/./clip.mov"
                                         << "var/mobile/Media/clip.mov";
}

void TestAttachmentWrite::fileIsCopiedBelowRelayFolder()
{
    QFETCH(QString, filename);
    QFETCH(QString, stored);
    const QByteArray bytes("\xff\xd8 picture bytes", 17);
    writeWithAttachments({{filename, source(bytes)}});
    QFile copy(QDir(relay()).filePath(stored));
    QVERIFY2(copy.open(QIODevice::ReadOnly), qPrintable(copy.fileName()));
    QCOMPARE(copy.readAll(), bytes);
    QCOMPARE(filesWritten(), QStringList{QStringLiteral("db/file-relay/") + stored});
}

void TestAttachmentWrite::hostileNameWritesNothingOutsideRelayFolder_data()
{
    QTest::addColumn<QString>("filename");
    QTest::newRow("parent segments") << "../../escaped.jpg";
    QTest::newRow("parent after home prefix") << "~/../../../escaped.jpg";
    QTest::newRow("parent after root prefix") << "/../escaped.jpg";
    QTest::newRow("climb out of the phone folders") << "~/Library/../../../../outside/escaped.jpg";
    QTest::newRow("sibling folder with the same prefix") << "../file-relay2/escaped.jpg";
    QTest::newRow("relay folder itself") << "";
    QTest::newRow("only dots") << "..";
    // A doubled slash is still absolute after the first one is taken off.
    QTest::newRow("absolute") << "//ABSOLUTE/escaped.jpg";
}

void TestAttachmentWrite::hostileNameWritesNothingOutsideRelayFolder()
{
    QFETCH(QString, filename);
    filename.replace(QStringLiteral("ABSOLUTE"), dir->path().mid(1));
    writeWithAttachments({{filename, source("payload")}});
    QCOMPARE(filesWritten(), QStringList());
    QVERIFY(!QFile::exists(QDir(dir->path()).filePath(QStringLiteral("escaped.jpg"))));
    // The attachment is recorded all the same.
    IOS6MessageDb db(folder(), QString());
    db.open();
    QCOMPARE(scalar(db, QStringLiteral("select count(*) from attachment")), 1);
    QCOMPARE(scalar(db, QStringLiteral("select count(*) from message_attachment_join")), 1);
}

void TestAttachmentWrite::existingFileIsLeftAlone()
{
    const QString name = QStringLiteral("~/Library/SMS/Attachments/same.jpg");
    writeWithAttachments({{name, source("first")}});
    writeWithAttachments({{name, source("second")}});
    QFile copy(QDir(relay()).filePath(QStringLiteral("var/mobile/Library/SMS/Attachments/same.jpg")));
    QVERIFY(copy.open(QIODevice::ReadOnly));
    QCOMPARE(copy.readAll(), QByteArray("first"));
}

void TestAttachmentWrite::rowsAreWrittenInRowidOrderAndJoined()
{
    _MsgHandle* ann = records.handle(QStringLiteral("+447700900001"));
    _MsgMessage* message =
        records.message(records.singleChat(ann), ann, 100, false, QStringLiteral("two files"));
    _MsgAttachment* late = records.attachment(message, QStringLiteral("~/late.jpg"), QString());
    _MsgAttachment* early = records.attachment(message, QStringLiteral("~/early.jpg"), QString());
    // The map's keys need not follow the attachments' own row ids.
    message->attachments.clear();
    late->rowid = 900;
    early->rowid = 5;
    message->attachments.insert(1, late);
    message->attachments.insert(2, early);
    _MsgMessage* second = records.message(message->chat, ann, 200, false, QStringLiteral("same file again"));
    second->attachments.insert(early->rowid, early);

    ExportMessagesDb exporter(folder(), QString());
    exporter.begin();
    exporter.write(*message);
    exporter.write(*second);
    exporter.end();

    IOS6MessageDb db(folder(), QString());
    db.open();
    QCOMPARE(text(db, QStringLiteral("select filename from attachment order by rowid limit 1")),
             QStringLiteral("~/early.jpg"));
    QCOMPARE(scalar(db, QStringLiteral("select count(*) from attachment")), 2);
    QCOMPARE(scalar(db, QStringLiteral("select count(*) from message_attachment_join")), 3);
    QCOMPARE(scalar(db, QStringLiteral("select count(*) from message where cache_has_attachments=1")), 2);
    QCOMPARE(text(db, QStringLiteral("select mime_type from attachment where guid='%1'").arg(late->guid)),
             QStringLiteral("image/jpeg"));
}

void TestAttachmentWrite::missingSourceStillWritesRow()
{
    writeWithAttachments(
        {{QStringLiteral("~/gone.jpg"), sources->filePath(QStringLiteral("does-not-exist.jpg"))},
         {QStringLiteral("~/folder.jpg"), sources->path()}});
    QCOMPARE(filesWritten(), QStringList());
    IOS6MessageDb db(folder(), QString());
    db.open();
    QCOMPARE(scalar(db, QStringLiteral("select count(*) from attachment")), 2);
}

QTEST_GUILESS_MAIN(TestAttachmentWrite)
#include "tst_attachmentwrite.moc"
