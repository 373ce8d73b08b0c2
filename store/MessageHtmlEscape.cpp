#include "store/MessageHtmlEscape.h"

#include <QRegularExpression>

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
