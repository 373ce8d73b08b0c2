// bench_read [messages=100000]: reading a whole message database into a MessageSet, against
// the floor of a bare SQLite loop that reads the same columns of the same rows.

#include "bench/BareSqlite.h"
#include "bench/BenchSupport.h"
#include "store/ConversationGroups.h"
#include "store/IOS6MessageDb.h"
#include "store/MessageSet.h"

#include <QCoreApplication>

#include <algorithm>
#include <cstdio>
#include <memory>

using namespace BenchSupport;

namespace {
constexpr int kRuns = 3;
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
    const double floor = bestOf(kRuns, [&] { checksum += BareSqlite::readMessages(db.databasePath()); });

    printTitle(QStringLiteral("bench_read: %1 messages, %2 conversation groups").arg(messages).arg(groups));
    printRow(QString(), QStringLiteral("best of %1").arg(kRuns), QStringLiteral("rate"),
             QStringLiteral("goal"));
    printRow(QStringLiteral("readMessages(set, 0) + conversationGroups"), seconds(reader),
             perSecond(messages, reader));
    printRow(QStringLiteral("SQLite C API floor (same query and columns)"), seconds(floor),
             perSecond(messages, floor));
    printRow(QStringLiteral("ratio reader / floor"), ratio(reader / floor), QString(),
             QStringLiteral("<= 1.50x"));
    printRow(QStringLiteral("heap held per message in the MessageSet"),
             QStringLiteral("%1 bytes").arg(messages > 0 ? heapGrowth / messages : 0), QString(),
             QStringLiteral("<= 400 bytes"));
    std::printf("(checksum %lld)\n", static_cast<long long>(checksum));
    return 0;
}
