#include "app/messages/MessageHtml.h"

#include "store/MessageText.h"
#include "store/MsgMessage.h"
#include "store/StoredDate.h"

#include <QCoreApplication>
#include <QLocale>

#include <algorithm>

namespace {
QString headerCell(const _MsgMessage& m, bool sent)
{
    const QString date = QLocale::system().toString(storedDateToLocal(m.date), QLocale::ShortFormat);
    return QStringLiteral("<td width=\"50%\" class=\"t\">%1<br/>%2 %3</td>")
        .arg(date, sent ? QStringLiteral("To:") : QStringLiteral("From:"),
             escapeMessageHtml(messageChatLabel(m)));
}

constexpr char16_t kZeroWidthSpace = 0x200B;
constexpr char16_t kZeroWidthJoiner = 0x200D;

// True when the text may not be cut between positions i - 1 and i: inside a
// surrogate pair, before a combining mark, or beside a joiner.
bool holdsTogether(const QString& text, qsizetype i)
{
    if (i <= 0 || i >= text.size())
        return false;
    const QChar next = text.at(i);
    return next.isLowSurrogate() || next.isMark() || next.unicode() == kZeroWidthJoiner ||
           text.at(i - 1).unicode() == kZeroWidthJoiner;
}

// Where a text of more than limit characters is cut: at most limit, stepping
// back so that no character is split.
qsizetype cutPosition(const QString& text, qsizetype limit)
{
    qsizetype cut = limit;
    while (cut > 0 && holdsTogether(text, cut))
        --cut;
    return cut > 0 ? cut : limit;
}

bool isBreak(QChar c)
{
    return c.isSpace() || c.unicode() == kZeroWidthSpace;
}

// Text layout of one long word is slow (quadratic in its length) and widens
// the half-page cell beyond the window: long runs get break opportunities.
QString breakLongRuns(const QString& text)
{
    QString result;
    qsizetype run = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (isBreak(c)) {
            run = 0;
        } else if (run >= kUnbrokenRunLimit && !holdsTogether(text, i)) {
            if (result.isNull())
                result = text.left(i);
            result.append(QChar(kZeroWidthSpace));
            run = 0;
        }
        if (!isBreak(c))
            ++run;
        if (!result.isNull())
            result.append(c);
    }
    return result.isNull() ? text : result;
}

QString omissionNote(qsizetype omitted)
{
    const QString note = QCoreApplication::translate(
        "SmsBrowser", "[%1 more characters are not shown here. Export the message to read the whole text.]");
    return QStringLiteral("<br/><i>%1</i>").arg(escapeMessageHtml(note.arg(omitted)));
}

QString contentCell(const _MsgMessage& m)
{
    qsizetype omitted = 0;
    QString content = escapeMessageHtml(transcriptText(displayText(m), &omitted));
    if (omitted > 0)
        content += omissionNote(omitted);
    return QStringLiteral("<td width=\"50%\" class=\"c\">%1</td>").arg(content);
}

// Sent messages sit in the right half, received ones in the left half.
QString messageTable(const _MsgMessage& m)
{
    const bool sent = m.is_from_me != 0;
    QString html = QStringLiteral("<a name=\"sms_%1\"></a>").arg(m.rowid);
    html +=
        QStringLiteral("<table class=\"%1\" width=\"100%\" cellpadding=\"0\" border=\"0\" cellspacing=\"0\">")
            .arg(sent ? QStringLiteral("send") : QStringLiteral("rec"));
    const QString headerSpacer = QStringLiteral("<td width=\"50%\" class=\"st\"></td>");
    const QString contentSpacer = QStringLiteral("<td width=\"50%\" class=\"sc\"></td>");
    if (sent) {
        html += QStringLiteral("<tr>") + headerSpacer + headerCell(m, sent) + QStringLiteral("</tr>");
        html += QStringLiteral("<tr>") + contentSpacer + contentCell(m) + QStringLiteral("</tr>");
    } else {
        html += QStringLiteral("<tr>") + headerCell(m, sent) + headerSpacer + QStringLiteral("</tr>");
        html += QStringLiteral("<tr>") + contentCell(m) + contentSpacer + QStringLiteral("</tr>");
    }
    html += QStringLiteral("</table>");
    return html;
}
} // namespace

QString transcriptText(const QString& text, qsizetype* omitted)
{
    qsizetype cut = text.size();
    if (cut > kTranscriptTextLimit)
        cut = cutPosition(text, kTranscriptTextLimit);
    if (omitted)
        *omitted = text.size() - cut;
    return breakLongRuns(cut < text.size() ? text.left(cut) : text);
}

int smsPageCountFor(int count)
{
    return count <= 0 ? 0 : (count + kSmsPageSize - 1) / kSmsPageSize;
}

QString buildSmsPageHtml(const QList<_MsgMessage*>& messages, int page)
{
    const int count = int(messages.size());
    const int pageCount = smsPageCountFor(count);
    if (page < 1 || page > pageCount)
        return QString();
    QString html = QStringLiteral("<a name=\"start\"></a>");
    if (page != 1)
        html += QStringLiteral("<p><a href=\"/pre_page\">&lt;&lt;Previous Page</a></p>");
    const int first = (page - 1) * kSmsPageSize;
    const int end = std::min(first + kSmsPageSize, count);
    for (int i = first; i < end; ++i) {
        if (messages.at(i))
            html += messageTable(*messages.at(i));
    }
    if (page != pageCount)
        html += QStringLiteral("<p><a href=\"/next_page\">&gt;&gt;Next Page</a></p>");
    html += QStringLiteral("<a name=\"end\"></a>");
    return html;
}
