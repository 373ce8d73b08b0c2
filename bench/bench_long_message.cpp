// bench_long_message: how long the main window takes to show a conversation
// holding very long texts, from the click on the conversation to the window
// painted (list, counter and transcript page). Three local databases: one
// text without spaces, one text of ordinary words, and both in one
// conversation. Best of three fresh windows each.
//
//   bench_long_message [unbroken bytes=1048576] [words bytes=10485760] [rounds=3]

#include "BenchSupport.h"
#include "app/MainWindow.h"
#include "base/AppDirs.h"
#include "app/messages/SmsBrowser.h"
#include "app/tree/ItemModelMain.h"
#include "app/views/MyTreeView.h"
#include "store/ExportMessagesDb.h"
#include "store/MessageSet.h"

#include <QApplication>
#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>

namespace {

QString unbrokenText(int size)
{
    QString text;
    text.reserve(size);
    const QString alphabet = QStringLiteral("abcdefghijklmnopqrstuvwxyz0123456789");
    for (int i = 0; i < size; ++i)
        text.append(alphabet.at(i % alphabet.size()));
    return text;
}

QString wordsText(int size)
{
    const QString sentence =
        QStringLiteral("The quick brown fox jumps over the lazy dog near the river bank. ");
    QString text = sentence.repeated(size / sentence.size() + 1);
    text.truncate(size);
    return text;
}

// One local database with one conversation holding the texts.
void writeConversation(const QString& name, const QStringList& texts)
{
    MessageSet set;
    auto* handle = new _MsgHandle;
    handle->rowid = 1;
    handle->id = QStringLiteral("+15550000001");
    handle->_ct_name = QStringLiteral("Long Talker");
    set.handles.insert(handle->rowid, handle);
    auto* chat = new _MsgChat;
    chat->rowid = 2;
    chat->guid = QStringLiteral("SMS;-;+15550000001");
    chat->chat_identifier = handle->id;
    chat->participants.insert(handle->id, handle);
    set.chats.insert(chat->rowid, chat);
    qint64 rowid = 3;
    for (const QString& text : texts) {
        auto* m = new _MsgMessage;
        m->rowid = rowid++;
        m->guid = QStringLiteral("long-%1").arg(m->rowid);
        m->text = text;
        m->date = 400000000 + int(m->rowid) * 60;
        m->set_service(QStringLiteral("SMS"));
        m->chat = chat;
        m->handle = handle;
        chat->messages.append(m);
        set.messages.insert(m->rowid, m);
    }
    chat->_last = 400000000 + int(rowid) * 60;
    ExportMessagesDb exporter{QDir(localDbDir().absoluteFilePath(name)), QString()};
    exporter.begin();
    for (const _MsgMessage* message : std::as_const(set.messages))
        exporter.write(*message);
    exporter.end();
}

AbsTreeItemModel::_ItemNode* childNamed(AbsTreeItemModel::_ItemNode* parent, const QString& name)
{
    for (AbsTreeItemModel::_ItemNode* child : parent->children) {
        if (child->name == name)
            return child;
    }
    return nullptr;
}

// Milliseconds from selecting the database's conversation to the window
// painted; -1 when the transcript did not show the messages.
qint64 selectOnce(const QString& database, int messages)
{
    MainWindow window(nullptr, MainWindow::DeviceWatch::Off);
    window.resize(1000, 680);
    window.show();
    QApplication::processEvents();
    auto* tree = window.findChild<MyTreeView*>(QStringLiteral("treeViewDS"));
    auto* browser = window.findChild<SmsBrowser*>(QStringLiteral("txtSMS"));
    auto* model = qobject_cast<ItemModelMain*>(tree->model());
    AbsTreeItemModel::_ItemNode* db = childNamed(model->localDbRoot(), database);
    if (!db)
        return -1;
    // The database's conversations are read first (not timed).
    tree->setCurrentIndex(model->indexOfNode(db));
    QApplication::processEvents();
    if (db->children.isEmpty())
        return -1;
    tree->setCurrentIndex(model->indexOfNode(model->localDbRoot()));
    QApplication::processEvents();

    QElapsedTimer timer;
    timer.start();
    tree->setCurrentIndex(model->indexOfNode(db->children.first()));
    QApplication::processEvents();
    window.repaint();
    const qint64 ms = timer.elapsed();
    return browser->messages().size() == messages ? ms : -1;
}

} // namespace

int main(int argc, char* argv[])
{
    const auto home = BenchSupport::useTemporaryHomeOffscreen();
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    const int unbroken = args.size() > 1 ? std::max(1, args.at(1).toInt()) : 1 << 20;
    const int words = args.size() > 2 ? std::max(1, args.at(2).toInt()) : 10 << 20;
    const int rounds = args.size() > 3 ? std::max(1, args.at(3).toInt()) : 3;

    const QString longRun = unbrokenText(unbroken);
    const QString prose = wordsText(words);
    struct Case
    {
        QString name;
        QStringList texts;
    };
    const QList<Case> cases = {
        {QStringLiteral("unbroken %1 characters").arg(unbroken), {longRun}},
        {QStringLiteral("words %1 characters").arg(words), {prose}},
        {QStringLiteral("both in one conversation"), {longRun, prose}},
    };
    for (int i = 0; i < cases.size(); ++i)
        writeConversation(QStringLiteral("case%1").arg(i), cases.at(i).texts);

    std::printf("select a conversation of very long texts, click to painted (best of %d)\n", rounds);
    for (int i = 0; i < cases.size(); ++i) {
        qint64 best = -1;
        for (int r = 0; r < rounds; ++r) {
            const qint64 ms = selectOnce(QStringLiteral("case%1").arg(i), int(cases.at(i).texts.size()));
            if (ms < 0) {
                std::fprintf(stderr, "the window did not show %s\n", qPrintable(cases.at(i).name));
                return 1;
            }
            best = best < 0 ? ms : std::min(best, ms);
        }
        std::printf("  %-32s %6lld ms\n", qPrintable(cases.at(i).name), best);
    }
    return 0;
}
