#include "app/messages/SmsBrowser.h"

#include "app/messages/MessageHtml.h"
#include "ui/ShellOpen.h"
#include "store/MsgMessage.h"

#include <QTextDocument>
#include <QUrl>

namespace {
const char kDefaultStyleSheet[] =
    ".t{font-size:13px;padding:5px 10px} .c,.sc{font-size:14px;padding:5px "
    "10px;background-color:#EEEEEE;}.send{/*background-color:#CEE0EC;*/} .send "
    ".t{color:#008040;}.rec{/*background-color:#F5FFE2;*/} .rec .t{color:#0000FF;}";
} // namespace

SmsBrowser::SmsBrowser(QWidget* parent) : QTextBrowser(parent), textDocument(new QTextDocument(this))
{
    textDocument->setDefaultStyleSheet(QString::fromLatin1(kDefaultStyleSheet));
    setDocument(textDocument);
    setOpenLinks(false);
    connect(this, &QTextBrowser::anchorClicked, this, &SmsBrowser::onAnchorClicked);
}

void SmsBrowser::setMessages(const QList<_MsgMessage*>& list)
{
    if (list.isEmpty()) {
        clear();
        return;
    }
    messageList = list;
    pages = smsPageCountFor(int(list.size()));
    showFirstPage();
}

// The page counters go with the list: no stale page can be turned to afterwards.
void SmsBrowser::clear()
{
    messageList.clear();
    pages = 0;
    page = 0;
    replaceHtml(QString());
}

void SmsBrowser::showFirstPage()
{
    if (pages < 1)
        return;
    renderPage(1);
    moveCursor(QTextCursor::Start);
}

void SmsBrowser::showPreviousPage()
{
    if (page < 2)
        return;
    renderPage(page - 1);
    moveCursor(QTextCursor::End);
}

void SmsBrowser::showNextPage()
{
    if (page >= pages)
        return;
    renderPage(page + 1);
    moveCursor(QTextCursor::Start);
}

void SmsBrowser::showMessage(int row)
{
    if (row < 0 || row >= messageList.size() || !messageList.at(row))
        return;
    const int wanted = row / kSmsPageSize + 1;
    if (wanted != page)
        renderPage(wanted);
    const QString anchor = QStringLiteral("sms_%1").arg(messageList.at(row)->rowid);
    QMetaObject::invokeMethod(
        this, [this, anchor] { scrollToAnchor(anchor); }, Qt::QueuedConnection);
}

void SmsBrowser::onAnchorClicked(const QUrl& url)
{
    const QString path = url.path();
    if (path == QLatin1String("/pre_page"))
        showPreviousPage();
    else if (path == QLatin1String("/next_page"))
        showNextPage();
    else if (url.isLocalFile())
        openInExplorer(url.toLocalFile());
}

void SmsBrowser::renderPage(int n)
{
    if (n < 1 || n > pages)
        return;
    page = n;
    replaceHtml(buildSmsPageHtml(messageList, n));
}

// Screen updates are off while the document is rebuilt.
void SmsBrowser::replaceHtml(const QString& text)
{
    html = text;
    setUpdatesEnabled(false);
    setHtml(html);
    setUpdatesEnabled(true);
}

// Compiled here so the meta-object code links with this class alone.
#include "moc_SmsBrowser.cpp"
