#include "store/IOS6MessageDb.h"

#include "base/PathGuard.h"
#include "sql/SqliteException.h"
#include "store/MessageColumns.h"

#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include <sqlite3.h>

#include <stdexcept>

namespace {

// The one step that brings an older chat table up to date; the message
// table's steps come with its columns (messageColumns()). The numbers name
// the steps in error texts.
constexpr int kChatGroupIdLine = 122;
const char kChatGroupIdSql[] = "ALTER TABLE chat ADD COLUMN group_id TEXT;";
// The number of the orphan trigger's update in error texts.
constexpr int kTriggerLine = 170;

// Every table of the schema; a file without one of them is no message database.
const char* const kSchemaTables[] = {"message",
                                     "handle",
                                     "chat",
                                     "attachment",
                                     "chat_handle_join",
                                     "chat_message_join",
                                     "message_attachment_join"};

const char kDdlResource[] = ":/res/localmsgdb_ddl.sql";

[[noreturn]] void throwUpgradeError(int line, const QString& sql, const QString& error)
{
    const QString text = QStringLiteral("line:%1, sql:%2, error:%3").arg(line).arg(sql, error);
    throw std::runtime_error(text.toLocal8Bit().toStdString());
}

[[noreturn]] void throwUtf8(const QString& text)
{
    throw std::runtime_error(text.toUtf8().toStdString());
}

// The two functions the phone's own triggers call; here they do nothing.
void returnZero(sqlite3_context* context, int, sqlite3_value**)
{
    sqlite3_result_int(context, 0);
}

} // namespace

IOS6MessageDb::IOS6MessageDb(const QDir& folder, const QString& mcc)
    : folderDir(folder), relayDir(folder.filePath(QStringLiteral("file-relay"))), countryLib(mcc),
      dbPath(relayDir.filePath(QStringLiteral("var/mobile/Library/SMS/sms.db")))
{}

IOS6MessageDb::~IOS6MessageDb()
{
    close();
}

QString IOS6MessageDb::orphanedMessagesTriggerSql()
{
    // Looks at the one message whose join row went, through the message_id
    // index, instead of scanning the whole message table for every deleted row.
    return QStringLiteral(
        "CREATE TRIGGER clean_orphaned_messages AFTER DELETE ON chat_message_join FOR EACH ROW BEGIN "
        "DELETE FROM message WHERE ROWID = old.message_id AND "
        "(SELECT 1 FROM chat_message_join WHERE message_id = old.message_id LIMIT 1) IS NULL; END");
}

void IOS6MessageDb::open()
{
    if (isOpen())
        return;
    tableSql.clear();
    try {
        openDatabase();
    } catch (...) {
        // A half-opened connection would make every later call return at once
        // on a file that was never checked; close it so the next call retries.
        close();
        throw;
    }
}

void IOS6MessageDb::openDatabase()
{
    refuseLinksLeadingOutside();
    if (QFileInfo::exists(dbPath)) {
        // A file the system will not let us write opens for reading only.
        openThrow(dbPath, ReadWrite);
        checkTablesPresent();
        schemaUpToDate = false;
    } else {
        createDatabase();
        schemaUpToDate = true;
    }
    installSqlFunctions();
    readTableSql();
}

void IOS6MessageDb::openForWriting()
{
    open();
    if (schemaUpToDate)
        return;
    if (sqlite3_db_readonly(handle(), "main") == 1) {
        throwUtf8(QStringLiteral("The database %1 is read-only; nothing was written to it.")
                      .arg(QDir::toNativeSeparators(dbPath)));
    }
    upgradeDatabase();
    updateOrphanedMessagesTrigger();
    readTableSql();
    schemaUpToDate = true;
}

void IOS6MessageDb::setPageCacheMegabytes(int megabytes)
{
    open();
    // A negative size counts KiB rather than pages.
    executeThrow(QStringLiteral("PRAGMA cache_size = %1").arg(-1024 * qint64(megabytes)));
}

void IOS6MessageDb::close()
{
    AbsIOSMessageDb::close();
    countryLib.close();
}

// The file is created and written only inside the database folder: a link
// on the way that leads elsewhere would put it there instead.
void IOS6MessageDb::refuseLinksLeadingOutside() const
{
    const QString entry = entryLeadingOutside(folderDir.absolutePath(), dbPath);
    if (entry.isEmpty())
        return;
    const QString folder = QDir::cleanPath(folderDir.absolutePath());
    if (entry == folder) {
        throwUtf8(
            QStringLiteral("The database folder %1 is not used: it is a symbolic link to a place outside %2.")
                .arg(QDir::toNativeSeparators(folder),
                     QDir::toNativeSeparators(QFileInfo(folder).absolutePath())));
    }
    throwUtf8(QStringLiteral("The database folder %1 is not used: the symbolic link %2 leads out of it.")
                  .arg(QDir::toNativeSeparators(folder), QDir::toNativeSeparators(entry)));
}

void IOS6MessageDb::createDatabase()
{
    QDir().mkpath(QFileInfo(dbPath).absolutePath());
    openThrow(dbPath, ReadWriteCreate);
    QFile ddl(QString::fromLatin1(kDdlResource));
    if (!ddl.open(QIODevice::ReadOnly))
        throwUtf8(QStringLiteral("read IOS6MessageDb ddl error. %1").arg(ddl.errorString()));
    QByteArray script = ddl.readAll();
    const int nul = int(script.indexOf('\0'));
    if (nul >= 0)
        script.truncate(nul);
    QString error;
    if (exec(QString::fromLatin1(script), error) != SQLITE_OK)
        throwUtf8(QStringLiteral("create IOS6MessageDb error. %1").arg(error));
}

// Refuses a file that is not a message database before anything is changed
// in it: an unreadable file, or one without every table of the schema.
void IOS6MessageDb::checkTablesPresent()
{
    QSet<QString> present;
    try {
        Sqlite3Cursor cursor =
            queryThrow(QStringLiteral("select name from sqlite_master where type='table'"));
        while (cursor.moveNext())
            present.insert(cursor.getText(0).toLower());
    } catch (const SqliteException& e) {
        throwUtf8(QStringLiteral("open IOS6MessageDb error. cannot read %1: %2")
                      .arg(QDir::toNativeSeparators(dbPath), QString::fromUtf8(e.what())));
    }
    QStringList missing;
    for (const char* table : kSchemaTables) {
        if (!present.contains(QLatin1String(table)))
            missing.append(QLatin1String(table));
    }
    if (!missing.isEmpty()) {
        throwUtf8(QStringLiteral("open IOS6MessageDb error. %1 is not a message database, missing table: %2")
                      .arg(QDir::toNativeSeparators(dbPath), missing.join(QStringLiteral(", "))));
    }
}

QSet<QString> IOS6MessageDb::columnNames(const QString& table)
{
    // SQLite column names are case-insensitive, so compare them in lower case.
    QSet<QString> names;
    const QHash<QString, QVariant> info = tbInfo(table);
    for (auto it = info.constBegin(); it != info.constEnd(); ++it)
        names.insert(it.key().toLower());
    if (names.isEmpty()) {
        throwUtf8(QStringLiteral("open IOS6MessageDb error. %1 is not a message database, missing table: %2")
                      .arg(QDir::toNativeSeparators(dbPath), table));
    }
    return names;
}

void IOS6MessageDb::upgradeDatabase()
{
    const QSet<QString> chatColumns = columnNames(QStringLiteral("chat"));
    const QSet<QString> messageTable = columnNames(QStringLiteral("message"));
    if (!chatColumns.contains(QStringLiteral("group_id")))
        runUpgradeStep(kChatGroupIdLine, QLatin1String(kChatGroupIdSql));
    for (const MessageColumn& column : messageColumns()) {
        if (!column.isOptional() || messageTable.contains(column.name.toLower()))
            continue;
        runUpgradeStep(column.upgrade.line, column.addColumnSql());
        // The index comes with the column; a file that already had the
        // column is left with whatever indexes it has.
        if (column.upgrade.indexSql)
            runUpgradeStep(column.upgrade.line + 1, QLatin1String(column.upgrade.indexSql));
    }
}

void IOS6MessageDb::runUpgradeStep(int line, const QString& sql)
{
    QString error;
    if (exec(sql, error) != SQLITE_OK)
        throwUpgradeError(line, sql, error);
}

void IOS6MessageDb::updateOrphanedMessagesTrigger()
{
    const QString wanted = orphanedMessagesTriggerSql();
    QString stored;
    {
        Sqlite3Cursor cursor = queryThrow(QStringLiteral(
            "select sql from sqlite_master where type='trigger' and name='clean_orphaned_messages'"));
        if (cursor.moveNext())
            stored = cursor.getText(0);
    } // the statement is reset here, before the schema changes
    if (stored == wanted)
        return;
    const QStringList steps = {QStringLiteral("BEGIN IMMEDIATE"),
                               QStringLiteral("DROP TRIGGER IF EXISTS clean_orphaned_messages"), wanted,
                               QStringLiteral("COMMIT")};
    for (const QString& sql : steps) {
        QString error;
        if (exec(sql, error) != SQLITE_OK) {
            if (!sqlite3_get_autocommit(handle())) {
                QString ignored;
                exec(QStringLiteral("ROLLBACK"), ignored);
            }
            throwUpgradeError(kTriggerLine, sql, error);
        }
    }
}

void IOS6MessageDb::installSqlFunctions()
{
    const struct
    {
        const char* name;
        int args;
    } functions[] = {{"delete_attachment_path", 1}, {"before_delete_attachment_path", 2}};
    for (const auto& f : functions) {
        const int rc = sqlite3_create_function_v2(handle(), f.name, f.args, SQLITE_ANY, nullptr, returnZero,
                                                  nullptr, nullptr, nullptr);
        if (rc != SQLITE_OK) {
            throwUtf8(QStringLiteral("open IOS6MessageDb error. cannot install the function %1: %2")
                          .arg(QLatin1String(f.name), QString::fromUtf8(sqlite3_errmsg(handle()))));
        }
    }
}

void IOS6MessageDb::readTableSql()
{
    tableSql.clear();
    writeColumnsCache.reset();
    Sqlite3Cursor cursor = queryThrow(QStringLiteral("select * from sqlite_master where type='table'"));
    const int name = cursor.columnIndex(QStringLiteral("name"));
    const int sql = cursor.columnIndex(QStringLiteral("sql"));
    while (cursor.moveNext())
        tableSql.insert(cursor.getText(name), cursor.getText(sql));
}
