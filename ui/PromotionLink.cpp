#include "ui/PromotionLink.h"

#include "ui/ShellOpen.h"

#include <QRegularExpression>
#include <QTextDocumentFragment>
#include <QUrl>

namespace {

const char kLinkColour[] = "#3894BC";

// Character references (&amp;, &#39;, ...) decoded; the text holds no tags.
QString decoded(const QString& text)
{
    return QTextDocumentFragment::fromHtml(text).toPlainText();
}

// The anchor's plain text: tags removed, references decoded, white space
// simplified, cut to the limit (never inside a surrogate pair).
QString plainText(QString html)
{
    static const QRegularExpression tag(QStringLiteral("<[^>]*>"));
    html.remove(tag);
    QString text = decoded(html).simplified();
    if (text.size() > kPromotionTextLimit) {
        qsizetype cut = kPromotionTextLimit - 1;
        if (text.at(cut).isLowSurrogate())
            --cut;
        text = text.left(cut) + QChar(0x2026);
    }
    return text;
}

} // namespace

QString promotionLinkHtml(const QString& reply)
{
    static const QRegularExpression anchor(QStringLiteral("^<a(\\s[^>]*)?>(.*)</a\\s*>$"),
                                           QRegularExpression::CaseInsensitiveOption |
                                               QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression href(
        QStringLiteral("\\shref\\s*=\\s*(?:\"([^\"]*)\"|'([^']*)'|([^\\s\"'>]+))"),
        QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch link = anchor.match(reply.trimmed());
    if (!link.hasMatch())
        return QString();
    const QRegularExpressionMatch target = href.match(link.captured(1));
    if (!target.hasMatch())
        return QString();
    const QString address = decoded(target.captured(1) + target.captured(2) + target.captured(3)).trimmed();
    const QUrl url(address);
    const QString text = plainText(link.captured(2));
    if (!isWebAddress(url) || text.isEmpty())
        return QString();
    return QStringLiteral("<a style=\"color:%1;text-decoration:none;\" href=\"%2\">%3</a>")
        .arg(QLatin1String(kLinkColour), url.toString(QUrl::FullyEncoded).toHtmlEscaped(),
             text.toHtmlEscaped());
}
