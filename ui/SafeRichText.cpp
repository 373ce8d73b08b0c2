#include "ui/SafeRichText.h"

#include <QRegularExpression>

QString safeRichText(const QString& html)
{
    // Anchored where a "<" stands: the tags kept, nothing that loads anything.
    static const QRegularExpression allowed(
        QStringLiteral(
            "\\G<(?:\\s*/?\\s*(?:b|i|u|p|br)\\s*/?\\s*|/\\s*a\\s*|a\\s+href\\s*=\\s*\"[^\"<>]*\"\\s*)>"),
        QRegularExpression::CaseInsensitiveOption);
    QString safe;
    safe.reserve(html.size());
    qsizetype from = 0;
    for (qsizetype open = html.indexOf(QLatin1Char('<')); open >= 0;
         open = html.indexOf(QLatin1Char('<'), from)) {
        safe += QStringView(html).mid(from, open - from);
        const QRegularExpressionMatch tag = allowed.match(html, open, QRegularExpression::NormalMatch,
                                                          QRegularExpression::AnchorAtOffsetMatchOption);
        if (tag.hasMatch()) {
            safe += tag.captured();
            from = tag.capturedEnd();
        } else {
            safe += QStringLiteral("&lt;");
            from = open + 1;
        }
    }
    safe += QStringView(html).mid(from);
    return safe;
}
