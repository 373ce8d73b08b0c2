#pragma once

#include <QList>
#include <QTextBrowser>

class QTextDocument;
class QUrl;
struct _MsgMessage;

// The paged HTML transcript under the message list: 50 messages per page,
// sent messages on the right, received ones on the left, with links to the
// previous and next page. Holds the same (not owned) message list as the list
// model, so a row of the list is a position here.
class SmsBrowser : public QTextBrowser
{
    Q_OBJECT
public:
    explicit SmsBrowser(QWidget* parent = nullptr);

    // Stores the list and shows its first page (an empty list clears the browser).
    void setMessages(const QList<_MsgMessage*>& list);
    // Drops the list and shows nothing; no page is current afterwards.
    void clear();
    void showFirstPage();
    void showPreviousPage();
    void showNextPage();
    // Shows the page that holds message `row` and then (queued) scrolls to it.
    // Out-of-range rows are ignored.
    void showMessage(int row);

    int pageCount() const { return pages; }
    int currentPage() const { return page; } // 1-based, 0 when nothing is shown
    const QList<_MsgMessage*>& messages() const { return messageList; }
    // The HTML of the page on display, as built (before the document parses it).
    const QString& pageHtml() const { return html; }

public slots:
    // "/pre_page" and "/next_page" turn the page; a local file opens in the file
    // manager; any other link does nothing.
    void onAnchorClicked(const QUrl& url);

private:
    void renderPage(int n);
    void replaceHtml(const QString& text);

    QList<_MsgMessage*> messageList; // not owned
    QTextDocument* textDocument;     // owned (child object)
    int pages = 0;
    int page = 0;
    QString html;
};
