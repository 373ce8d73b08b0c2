// Converting local databases of the earlier single-file format: the records
// built from the old rows, working names taken up again, and files that
// cannot be converted left for the next start.
#include "tests/kit/JobRecorder.h"
#include "tests/kit/StoreTestKit.h"
#include "tests/kit/TestHome.h"

#include "base/AppDirs.h"
#include "jobs/LocalDbUpdateThread.h"
#include "store/IOS6MessageDb.h"
#include "tools/gen_old_localdb/OldLocalDbWriter.h"

#include <QCoreApplication>
#include <QtTest>

namespace {
// Read through the translation, which the test home installs.
QString successText()
{
    return QCoreApplication::translate("LocalDbUpdateThread", "IDS_LOCALDB_UPDATE_SUC_RESTART_REFRESH");
}

QString localPath(const QString& name)
{
    return localDbDir().absoluteFilePath(name);
}

int messageCountOf(const QString& folder)
{
    MessageSet set;
    IOS6MessageDb(QDir(folder), QString()).readMessages(set, 0);
    return int(set.messages.size());
}
} // namespace

class TestLocalDbUpdate : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void convertsRowsIntoRecords();
    void workingNamesAreTakenUpAgain();
    void failuresLeaveTheFileForTheNextStart_data();
    void failuresLeaveTheFileForTheNextStart();
    void aFolderWhereTheFileWasIsLeftAlone();

private:
    JobRecorder& runJob();

    TestHome home;
    std::unique_ptr<JobRecorder> form;
};

void TestLocalDbUpdate::init()
{
    removeDirRecursively(localDbDir().absolutePath());
}

JobRecorder& TestLocalDbUpdate::runJob()
{
    form = std::make_unique<JobRecorder>();
    LocalDbUpdateThread job(form.get(), nullptr);
    form->runToEnd(job);
    return *form;
}

void TestLocalDbUpdate::convertsRowsIntoRecords()
{
    writeOldLocalDatabase(
        localPath(QStringLiteral("Phone.db")),
        {{QStringLiteral("+44 7400 000000"), std::nullopt, QStringLiteral("Ann"), 1000000000, 0},
         {QStringLiteral("+44 7400 000000"), QStringLiteral("h\u00e9llo").toUtf8(), QStringLiteral("Ann"),
          1000000060, 1},
         {QStringLiteral("MyBANK"), QByteArray("\xff\xfe broken", 9), QString(), 1000000120, 0}});
    QVERIFY(LocalDbUpdateThread::hasOldDatabases());
    JobRecorder& result = runJob();
    QCOMPARE(result.textsOf(QStringLiteral("errorOccurred")), QStringList());
    QCOMPARE(result.textsOf(QStringLiteral("succeed")), QStringList{successText()});
    QCOMPARE(result.callsOf(QStringLiteral("updateProgress")).first().text,
             QStringLiteral("Updating local database 'Phone.db'..."));
    QCOMPARE(result.callsOf(QStringLiteral("updateProgress")).last().progressText,
             QStringLiteral("SMS: 3/3"));

    // The file became a folder of the same name; nothing of the old format is left.
    QVERIFY(QFileInfo(localPath(QStringLiteral("Phone.db"))).isDir());
    QCOMPARE(localDbDir().entryList(QDir::Files), QStringList());
    QVERIFY(!LocalDbUpdateThread::hasOldDatabases());
    MessageSet set;
    IOS6MessageDb(QDir(localPath(QStringLiteral("Phone.db"))), QString()).readMessages(set, 0);
    QStringList texts;
    QStringList addresses;
    for (const _MsgMessage* m : set.messages) {
        texts << m->text;
        addresses << (m->handle ? m->handle->id : QString());
        QCOMPARE(m->date, int(1000000000 - 978307200 + (texts.size() - 1) * 60));
        QCOMPARE(m->is_from_me, texts.size() == 2 ? 1 : 0);
    }
    QCOMPARE(texts.mid(0, 2), (QStringList{QString(), QStringLiteral("h\u00e9llo")}));
    QVERIFY(texts.at(2).endsWith(QLatin1String(" broken"))); // invalid bytes replaced, not lost
    QCOMPARE(addresses, (QStringList{"+447400000000", "+447400000000", "mybank"}));
    QCOMPARE(set.chats.size(), 2);
}

// A file left under its working name converts like any other, and a
// conversion taken up again after its messages were committed adds none twice.
void TestLocalDbUpdate::workingNamesAreTakenUpAgain()
{
    const QList<OldSmsRow> rows = generatedOldRows(40, 3);
    writeOldLocalDatabase(localPath(QStringLiteral("Phone.db")), rows);
    QCOMPARE(runJob().textsOf(QStringLiteral("succeed")), QStringList{successText()});
    const int converted = messageCountOf(localPath(QStringLiteral("Phone.db")));
    QCOMPARE(converted, int(rows.size()));

    writeOldLocalDatabase(localPath(QStringLiteral("Phone.db.__tmp")), rows);
    QCOMPARE(runJob().textsOf(QStringLiteral("succeed")), QStringList{successText()});
    QCOMPARE(messageCountOf(localPath(QStringLiteral("Phone.db"))), converted);
    QCOMPARE(localDbDir().entryList(QDir::Files), QStringList());
}

void TestLocalDbUpdate::failuresLeaveTheFileForTheNextStart_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("error");
    QTest::addColumn<QString>("left"); // the old file's name afterwards
    QTest::newRow("not a database") << "text"
                                    << "file is not a database"
                                    << "Old.db.__tmp";
    QTest::newRow("no view_sms") << "no view"
                                 << "no such table: view_sms"
                                 << "Old.db.__tmp";
    QTest::newRow("working name taken") << "blocked"
                                        << "can not rename"
                                        << "Old.db";
}

void TestLocalDbUpdate::failuresLeaveTheFileForTheNextStart()
{
    QFETCH(QString, kind);
    QFETCH(QString, error);
    QFETCH(QString, left);
    const QString path = localPath(QStringLiteral("Old.db"));
    if (kind == QLatin1String("text")) {
        StoreTestKit::writeBytes(path, QByteArray("not a database at all ").repeated(100));
    } else {
        writeOldLocalDatabase(path, generatedOldRows(5, 1));
        if (kind == QLatin1String("no view")) {
            Sqlite3DB db;
            db.openThrow(path, Sqlite3DB::ReadWrite);
            db.executeThrow(QStringLiteral("drop view view_sms"));
        } else {
            QVERIFY(QDir().mkpath(path + QStringLiteral(".__tmp/occupied")));
        }
    }
    const QByteArray bytes = StoreTestKit::fileBytes(path);
    JobRecorder& result = runJob();
    const QStringList errors = result.textsOf(QStringLiteral("errorOccurred"));
    QCOMPARE(errors.size(), 1);
    QVERIFY2(errors.first().contains(error), qPrintable(errors.first()));
    QCOMPARE(StoreTestKit::fileBytes(localPath(left)), bytes);
    QVERIFY(LocalDbUpdateThread::hasOldDatabases());
}

// Another program converted Small.db after this job listed it: the folder
// that now bears its name is neither renamed nor touched, and with nothing
// converted there is nothing to restart for.
void TestLocalDbUpdate::aFolderWhereTheFileWasIsLeftAlone()
{
    const QString small = localPath(QStringLiteral("Small.db"));
    writeOldLocalDatabase(small, generatedOldRows(5, 1));
    form = std::make_unique<JobRecorder>();
    form->onCall = [small](const JobRecorder::Call& call) {
        if (call.text != QLatin1String("Updating local database 'Small.db'..."))
            return;
        QFile::remove(small);
        StoreTestKit::writeBytes(small + QStringLiteral("/converted"), "by the other program");
    };
    LocalDbUpdateThread job(form.get(), nullptr);
    form->runToEnd(job);
    QCOMPARE(form->textsOf(QStringLiteral("errorOccurred")), QStringList());
    QCOMPARE(form->textsOf(QStringLiteral("succeed")), QStringList{QString()});
    QCOMPARE(job.converted(), 0);
    QCOMPARE(localDbDir().entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList{"Small.db"});
    QCOMPARE(StoreTestKit::fileBytes(small + QStringLiteral("/converted")),
             QByteArray("by the other program"));
}

QTEST_MAIN(TestLocalDbUpdate)
#include "tst_localdbupdate.moc"
