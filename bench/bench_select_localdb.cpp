// bench_select_localdb: how long the main window takes to show a local
// database of 100,000 messages when the user selects it for the first time
// (read its conversations and messages, group them, sort them, fill the list
// and render the browser's first page). Best of three fresh windows.
//
//   bench_select_localdb [messages=100000] [rounds=3]

#include "BenchSupport.h"
#include "app/MainWindow.h"
#include "base/AppDirs.h"
#include "app/messages/ItemModelSms.h"
#include "app/messages/SmsBrowser.h"
#include "app/tree/ItemModelMain.h"
#include "app/views/MyTreeView.h"
#include "store/IOS6MessageDb.h"
#include "store/MessageLists.h"
#include "store/MessageOrder.h"
#include "tools/gen_messages/MessageGenerator.h"

#include <QApplication>
#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>

namespace {
const char kDatabaseName[] = "Big";

struct Round
{
    qint64 selectMs = 0;
    int rows = 0;
    int page = 0;
};

Round selectOnce()
{
    MainWindow window(nullptr, MainWindow::DeviceWatch::Off);
    window.show();
    QApplication::processEvents();
    auto* tree = window.findChild<MyTreeView*>(QStringLiteral("treeViewDS"));
    auto* list = window.findChild<MyTreeView*>(QStringLiteral("treeViewSMS"));
    auto* browser = window.findChild<SmsBrowser*>(QStringLiteral("txtSMS"));
    auto* model = qobject_cast<ItemModelMain*>(tree->model());
    AbsTreeItemModel::_ItemNode* node = nullptr;
    for (AbsTreeItemModel::_ItemNode* child : model->localDbRoot()->children) {
        if (child->name == QLatin1String(kDatabaseName))
            node = child;
    }
    if (!node)
        return {};

    QElapsedTimer timer;
    timer.start();
    tree->setCurrentIndex(model->indexOfNode(node));
    // The queued expand and the layouts run, then the window paints once.
    QApplication::processEvents();
    window.repaint();
    Round round;
    round.selectMs = timer.elapsed();
    round.rows = list->model()->rowCount();
    round.page = browser->currentPage();
    return round;
}

// The same work without the window, phase by phase, to show where the time goes.
void printPhases(const QDir& folder)
{
    QElapsedTimer timer;
    MessageSet set;
    IOS6MessageDb db(folder, QString());
    timer.start();
    db.readChats(set);
    const qint64 chatsMs = timer.restart();
    db.readMessages(set, 0);
    const qint64 messagesMs = timer.restart();
    QList<_MsgMessage*> list = allMessages(set);
    sortMessagesAscending(list);
    const qint64 sortMs = timer.restart();
    std::printf("phases: read chats %lld ms, read messages %lld ms, sort %lld ms\n", chatsMs, messagesMs,
                sortMs);
}
} // namespace

int main(int argc, char* argv[])
{
    const auto home = BenchSupport::useTemporaryHomeOffscreen();
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    const int messageCount = args.size() > 1 ? std::max(1, args.at(1).toInt()) : 100000;
    const int rounds = args.size() > 2 ? std::max(1, args.at(2).toInt()) : 3;

    MessageGeneratorOptions options;
    options.messageCount = messageCount;
    const QDir folder(localDbDir().absoluteFilePath(QLatin1String(kDatabaseName)));
    QElapsedTimer timer;
    timer.start();
    const int written = MessageGenerator::writeDatabase(folder, QString(), options);
    std::printf("generated %d messages in %d conversations: %lld ms\n", written, options.conversationCount,
                timer.elapsed());
    printPhases(folder);

    qint64 best = -1;
    for (int i = 0; i < rounds; ++i) {
        const Round round = selectOnce();
        std::printf("round %d: %lld ms (%d rows, page %d)\n", i + 1, round.selectMs, round.rows, round.page);
        if (round.rows != written || round.page != 1) {
            std::fprintf(stderr, "the window did not show the database\n");
            return 1;
        }
        if (best < 0 || round.selectMs < best)
            best = round.selectMs;
    }
    std::printf("select local database of %d messages: best %lld ms\n", written, best);
    return 0;
}
