#include "store/MessageHtmlEscape.h"

// One pass over the text (the export escapes every message with it).
QString escapeMessageHtml(const QString& text)
{
    QString escaped;
    escaped.reserve(text.size() + text.size() / 8);
    const qsizetype size = text.size();
    for (qsizetype i = 0; i < size; ++i) {
        const QChar c = text.at(i);
        if (c == u'&')
            escaped += QLatin1String("&amp;");
        else if (c == u'<')
            escaped += QLatin1String("&lt;");
        else if (c == u'>')
            escaped += QLatin1String("&gt;");
        else if (c == u'\n')
            escaped += QLatin1String("<br/>");
        else if (c == u'\r' && i + 1 < size && text.at(i + 1) == u'\n')
            continue; // the line feed after it makes the break
        else
            escaped += c;
    }
    return escaped;
}
