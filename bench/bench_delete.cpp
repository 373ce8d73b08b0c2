// bench_delete [messages=100000]: deleting 1,000 messages spread over a database of 100,000 in
// one transaction, as the delete job does.

#include "bench/BenchSupport.h"
#include "store/IOS6MessageDb.h"
#include "store/MessageLists.h"
#include "store/MessageSet.h"

#include <QCoreApplication>

#include <algorithm>

#include <cstdio>

using namespace BenchSupport;

namespace {

constexpr int kDeleted = 1000;

} // namespace

int main(int argc, char* argv[])
{
    const auto home = useTemporaryHome();
    QCoreApplication app(argc, argv);
    const auto generated = generateSource(app.arguments());
    const QDir& folder = generated->folder;

    MessageSet set;
    IOS6MessageDb db(folder, QString());
    db.readMessages(set, 0);
    const QList<_MsgMessage*> all = allMessages(set); // ascending row id
    QList<const _MsgMessage*> doomed;
    const int step = std::max(1, int(all.size()) / kDeleted);
    for (int i = 0; i < all.size() && doomed.size() < kDeleted; i += step)
        doomed.append(all.at(i));
    const qint64 before = scalar(db, QStringLiteral("select count(*) from message"));
    const qint64 chatsBefore = scalar(db, QStringLiteral("select count(*) from chat"));

    const double took = secondsOf([&] {
        db.beginTransaction();
        for (const _MsgMessage* message : std::as_const(doomed))
            db.deleteMessage(*message);
        db.endTransaction(true);
    });
    const qint64 after = scalar(db, QStringLiteral("select count(*) from message"));
    const qint64 chatsAfter = scalar(db, QStringLiteral("select count(*) from chat"));

    printTitle(
        QStringLiteral("bench_delete: %1 of %2 messages, one transaction").arg(doomed.size()).arg(before));
    printRow(QString(), QStringLiteral("time"), QStringLiteral("rate"), QStringLiteral("goal"));
    printRow(QStringLiteral("deleteMessage x %1 + commit").arg(doomed.size()), seconds(took),
             perSecond(doomed.size(), took), QStringLiteral("< 2.000 s"));
    printRow(QStringLiteral("per message"),
             QStringLiteral("%1 ms").arg(took * 1000.0 / doomed.size(), 0, 'f', 3));
    printRow(QStringLiteral("messages left / chats left"),
             QStringLiteral("%1 / %2").arg(after).arg(chatsAfter),
             QStringLiteral("(chats before: %1)").arg(chatsBefore));
    return 0;
}
