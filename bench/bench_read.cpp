// bench_read [messages=100000]: reading a whole message database into a MessageSet, against
// the floor of a bare SQLite loop that reads the same columns of the same rows.

#include "bench/BenchSupport.h"
#include "store/ConversationGroups.h"
#include "store/IOS6MessageDb.h"
#include "store/MessageSet.h"

#include <QCoreApplication>

#include <algorithm>

#include <sqlite3.h>

#include <cstdio>
#include <memory>

using namespace BenchSupport;

namespace {

constexpr int kRuns = 3;

const char kMessageQuery[] = "select j.chat_id, m.* from chat_message_join as j inner join message as m "
                             "on j.message_id = m.rowid and m.item_type <> 4";

// The columns the reader takes as text, as a blob and as 64-bit numbers; every other column is an int.
bool isTextColumn(const QByteArray& name)
{
    static const QList<QByteArray> texts = {
        "guid",    "text",    "service_center", "subject",         "country",
        "service", "account", "account_guid",   "cache_roomnames", "group_title"};
    return texts.contains(name);
}

// One pass of the bare C API over the message query; returns a checksum so
// that nothing is optimised away.
qint64 bareSqliteRead(const QString& path)
{
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
        std::fprintf(stderr, "cannot open %s\n", qPrintable(path));
        std::exit(1);
    }
    sqlite3_stmt* stmt = nullptr;
    sqlite3_prepare_v2(db, kMessageQuery, -1, &stmt, nullptr);
    enum Kind
    {
        Int,
        Int64,
        Text,
        Blob
    };
    QList<Kind> kinds;
    for (int i = 0; i < sqlite3_column_count(stmt); ++i) {
        const QByteArray name = QByteArray(sqlite3_column_name(stmt, i)).toLower();
        if (name == "chat_id" || name == "rowid" || name == "handle_id")
            kinds.append(Int64);
        else if (name == "attributedbody")
            kinds.append(Blob);
        else if (isTextColumn(name))
            kinds.append(Text);
        else
            kinds.append(Int);
    }
    qint64 sum = 0;
    while (sqlite3_step(stmt) == SQLITE_ROW) {
        for (int i = 0; i < kinds.size(); ++i) {
            switch (kinds[i]) {
            case Int:
                sum += sqlite3_column_int(stmt, i);
                break;
            case Int64:
                sum += sqlite3_column_int64(stmt, i);
                break;
            case Text:
                sum += sqlite3_column_text(stmt, i) ? sqlite3_column_bytes(stmt, i) : 0;
                break;
            case Blob:
                sum += sqlite3_column_blob(stmt, i) ? sqlite3_column_bytes(stmt, i) : 0;
                break;
            }
        }
    }
    sqlite3_finalize(stmt);
    sqlite3_close(db);
    return sum;
}

} // namespace

int main(int argc, char* argv[])
{
    const auto home = useTemporaryHome();
    QCoreApplication app(argc, argv);
    const auto generated = generateSource(app.arguments());
    const QDir& folder = generated->folder;

    IOS6MessageDb db(folder, QString());
    db.open();
    std::unique_ptr<MessageSet> set;
    qint64 heapGrowth = 0;
    int messages = 0;
    int groups = 0;
    const double reader = bestOf(
        kRuns,
        [&] {
            const qint64 before = heapInUse();
            db.readMessages(*set, 0);
            heapGrowth = heapInUse() - before;
            groups = int(conversationGroups(*set).size());
            messages = int(set->messages.size());
        },
        [&] {
            set.reset();
            set = std::make_unique<MessageSet>();
        });
    set.reset();

    qint64 checksum = 0;
    const double floor = bestOf(kRuns, [&] { checksum += bareSqliteRead(db.databasePath()); });

    printTitle(QStringLiteral("bench_read: %1 messages, %2 conversation groups").arg(messages).arg(groups));
    printRow(QString(), QStringLiteral("best of %1").arg(kRuns), QStringLiteral("rate"),
             QStringLiteral("goal"));
    printRow(QStringLiteral("readMessages(set, 0) + conversationGroups"), seconds(reader),
             perSecond(messages, reader));
    printRow(QStringLiteral("SQLite C API floor (same query and columns)"), seconds(floor),
             perSecond(messages, floor));
    printRow(QStringLiteral("ratio reader / floor"), ratio(reader / floor), QString(),
             QStringLiteral("<= 2.00x"));
    printRow(QStringLiteral("heap held per message in the MessageSet"),
             QStringLiteral("%1 bytes").arg(messages > 0 ? heapGrowth / messages : 0), QString(),
             QStringLiteral("< 1024 bytes"));
    std::printf("(checksum %lld)\n", static_cast<long long>(checksum));
    return 0;
}
