#pragma once

#include <QList>
#include <QString>

struct _MsgMessage;

// Messages per page of the message browser.
constexpr int kSmsPageSize = 50;

// Text made safe for the message pages: "&", "<", ">" become entities (in that
// order) and every line break ("\r\n" or "\n") becomes "<br/>".
QString escapeMessageHtml(const QString& text);

// Number of pages for count messages: ceil(count / kSmsPageSize), 0 when empty.
int smsPageCountFor(int count);

// The HTML of page n (1-based) of messages, with the previous-page link on every
// page but the first and the next-page link on every page but the last. Each
// message gets the anchor "sms_<rowid>". Empty for a page out of 1..pageCount.
QString buildSmsPageHtml(const QList<_MsgMessage*>& messages, int page);
