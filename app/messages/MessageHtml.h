#pragma once

#include "store/MessageHtmlEscape.h"

#include <QList>
#include <QString>

struct _MsgMessage;

// Messages per page of the message browser.
constexpr int kSmsPageSize = 50;

// Characters of one message's text the transcript lays out; a longer text
// shows its beginning and a note of what was left out.
constexpr int kTranscriptTextLimit = 4000;
// Longest run of characters the transcript lays out without a place to break
// the line; longer runs get zero-width spaces.
constexpr int kUnbrokenRunLimit = 40;

// The part of a message text the transcript shows: at most
// kTranscriptTextLimit characters (never splitting a character), with a
// zero-width space after every kUnbrokenRunLimit characters of a longer run
// without white space. *omitted receives the number of characters left out.
QString transcriptText(const QString& text, qsizetype* omitted);

// Number of pages for count messages: ceil(count / kSmsPageSize), 0 when empty.
int smsPageCountFor(int count);

// The HTML of page n (1-based) of messages, with the previous-page link on every
// page but the first and the next-page link on every page but the last. Each
// message gets the anchor "sms_<rowid>". Empty for a page out of 1..pageCount.
QString buildSmsPageHtml(const QList<_MsgMessage*>& messages, int page);
