#include "app/messages/MessageHtml.h"

#include "store/MessageText.h"
#include "store/MsgMessage.h"
#include "store/StoredDate.h"

#include <QLocale>
#include <QRegularExpression>

#include <algorithm>

namespace {
QString headerCell(const _MsgMessage& m, bool sent)
{
    const QString date = QLocale::system().toString(storedDateToLocal(m.date), QLocale::ShortFormat);
    return QStringLiteral("<td width=\"50%\" class=\"t\">%1<br/>%2 %3</td>")
        .arg(date, sent ? QStringLiteral("To:") : QStringLiteral("From:"),
             escapeMessageHtml(messageChatLabel(m)));
}

QString contentCell(const _MsgMessage& m)
{
    return QStringLiteral("<td width=\"50%\" class=\"c\">%1</td>").arg(escapeMessageHtml(displayText(m)));
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

QString escapeMessageHtml(const QString& text)
{
    static const QRegularExpression lineBreak(QStringLiteral("\r?\n"));
    QString escaped = text;
    escaped.replace(QLatin1Char('&'), QLatin1String("&amp;"));
    escaped.replace(QLatin1Char('<'), QLatin1String("&lt;"));
    escaped.replace(QLatin1Char('>'), QLatin1String("&gt;"));
    escaped.replace(lineBreak, QStringLiteral("<br/>"));
    return escaped;
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
