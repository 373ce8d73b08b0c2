#include "export/MessagePageWriter.h"

#include "store/MessageText.h"
#include "store/MsgMessage.h"
#include "store/StoredDate.h"

#include <QCoreApplication>
#include <QFontInfo>
#include <QFontMetrics>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QLocale>
#include <QPrinter>
#include <QTextLayout>

#include <cmath>
#include <memory>

namespace {
constexpr int kPagePointSize = 12;
constexpr int kPageNumberGap = 2;
constexpr int kPageNumberHeight = 18;
constexpr int kLineGap = 5;
constexpr int kBlockGap = 30;
constexpr int kTextFlags = Qt::AlignLeft | Qt::TextWordWrap;

// Emoji on pages come from a font with outlines (Debian's fonts-symbola):
// the PDF engine embeds a colour bitmap font's glyphs without their pictures,
// so they would print blank. Outline glyphs print, and are text in the PDF
// (Qt 6.4 maps the glyphs of the Basic Multilingual Plane back to their
// characters, so those are read back from the file too).
constexpr char kOutlineEmojiFamily[] = "Symbola";

// The application font at 12 points, its own family first (as resolved, not
// an alias such as "Sans Serif", which would let the emoji font draw every
// letter), then the emoji font for what that family lacks. Made once: every
// text is measured with it.
QFont makePageFont()
{
    QFont font = QGuiApplication::font();
    font.setFamilies({QFontInfo(font).family(), QLatin1String(kOutlineEmojiFamily)});
    font.setPointSize(kPagePointSize);
    return font;
}

const QFont& pageFont()
{
    static const QFont font = makePageFont();
    return font;
}

QColor colourOf(const _MsgMessage& message)
{
    return message.is_from_me ? QColor(0, 128, 64) : QColor(0, 0, 255);
}

QString whoText(const _MsgMessage& message)
{
    const QString title = message.chat ? chatTitle(*message.chat, true) : QString();
    return (message.is_from_me ? QStringLiteral("To: ") : QStringLiteral("From: ")) + title;
}

// What does not fit on one page is cut off anyway, and laying out megabytes
// of text only to cut it off costs time and memory: long texts are
// shortened (never inside a surrogate pair) and say how much is left out.
QString boundedText(const QString& text)
{
    if (text.size() <= MessagePageWriter::kPageTextLimit)
        return text;
    qsizetype cut = MessagePageWriter::kPageTextLimit;
    if (text.at(cut).isLowSurrogate())
        --cut;
    const QString note =
        QCoreApplication::translate("MessagePageWriter", "[%1 more characters are not shown here.]");
    return text.left(cut) + QLatin1Char('\n') + note.arg(text.size() - cut);
}
// What the painter's text drawing does to a text before it lays it out: a
// carriage return and a tab become spaces, a line feed a line break.
QString layoutText(const QString& text)
{
    QString laidOut = text;
    for (QChar& c : laidOut) {
        if (c == u'\r' || c == u'\t')
            c = u' ';
        else if (c == u'\n')
            c = QChar::LineSeparator;
    }
    return laidOut;
}

// U+009C separates length variants, among which the painter's text drawing
// picks the one that fits; such a text is left to it.
bool hasLengthVariants(const QString& text)
{
    return text.contains(QChar(0x9C));
}
} // namespace

// The lines are placed as the painter's own wrapped text drawing places
// them, each on a whole unit below the one before, so the layout measured
// for the page break is the one drawn, and the page is the same.
struct MessagePageWriter::Block
{
    QString text;
    std::unique_ptr<QTextLayout> layout; // none for an empty text, or one left to the painter
    qreal width = 0;                     // the widest line
    qreal lineHeights = 0;               // down to the last line's bottom
    int height = 0;                      // whole units, as the painter's bounding rectangle
};

MessagePageWriter::Block MessagePageWriter::layOut(const QString& text, int width) const
{
    Block block;
    block.text = text;
    QPaintDevice* device = printer;
    const QFont font = pageFont();
    if (text.isEmpty() || hasLengthVariants(text)) {
        const QFontMetrics metrics = device ? QFontMetrics(font, device) : QFontMetrics(font);
        block.height = metrics.boundingRect(QRect(0, 0, width, 0), kTextFlags, text).height();
        return block;
    }
    block.layout = std::make_unique<QTextLayout>(layoutText(text), font, device);
    QTextOption option;
    // As the painter draws: in its direction (by default each paragraph's own).
    option.setTextDirection(painter.isActive() ? painter.layoutDirection() : Qt::LeftToRight);
    option.setAlignment(Qt::AlignLeft);
    option.setWrapMode(QTextOption::WordWrap);
    block.layout->setTextOption(option);
    block.layout->setCacheEnabled(true);
    const qreal leading = (device ? QFontMetricsF(font, device) : QFontMetricsF(font)).leading();
    qreal height = -leading;
    block.layout->beginLayout();
    for (QTextLine line = block.layout->createLine(); line.isValid(); line = block.layout->createLine()) {
        line.setLineWidth(width);
        height = std::ceil(height + leading);
        line.setPosition(QPointF(0, height));
        height += line.ascent() + line.descent();
        block.width = qMax(block.width, line.naturalTextWidth());
    }
    block.layout->endLayout();
    block.lineHeights = height;
    block.height = int(std::ceil(height));
    return block;
}

void MessagePageWriter::beginPages(QPrinter* printer)
{
    this->printer = printer;
    const QMarginsF margins = printer->pageLayout().margins(QPageLayout::Point);
    const QRectF pageRect = printer->pageRect(QPrinter::DevicePixel);
    // The margins in points serve as device units here, on top of the
    // printer's own margins: a little extra white around the content.
    left = int(margins.left());
    top = int(margins.top());
    right = left + int(pageRect.width() - margins.left() - margins.right()) - 1;
    bottom = top + int(pageRect.height() - margins.top() - margins.bottom()) - 1;
    y = top;
    page = 1;
    if (!painter.begin(printer))
        return;
    painter.setFont(pageFont());
    drawPageNumber();
}

void MessagePageWriter::writeMessage(const _MsgMessage& message)
{
    if (!painter.isActive())
        return;
    const int width = right - left + 1;
    const Block date =
        layOut(QLocale::system().toString(storedDateToLocal(message.date), QLocale::ShortFormat), width);
    const Block who = layOut(whoText(message), width);
    const Block body = layOut(boundedText(displayText(message)), width);
    ensureSpace(date.height + who.height + body.height + 2 * kLineGap);
    painter.setPen(colourOf(message));
    drawBlock(date);
    y += date.height + kLineGap;
    drawBlock(who);
    y += who.height + kLineGap;
    painter.setPen(Qt::black);
    drawBlock(body);
    y += body.height + kBlockGap;
}

// The space left is the content height less y, and y starts at top: a page
// holds blocks up to bottom - top units.
void MessagePageWriter::ensureSpace(int height)
{
    if (!painter.isActive() || bottom - top + 1 - y >= height)
        return;
    printer->newPage();
    y = top;
    ++page;
    drawPageNumber();
}

bool MessagePageWriter::endPages()
{
    return painter.isActive() && painter.end();
}

int MessagePageWriter::textHeight(const QString& text, int width) const
{
    return layOut(text, width).height;
}

void MessagePageWriter::drawPageNumber()
{
    const QRect numberRect(left, bottom + kPageNumberGap, right - left + 1, kPageNumberHeight);
    painter.drawText(numberRect, Qt::AlignRight, QString::number(page));
}

void MessagePageWriter::drawBlock(const Block& block)
{
    const QRect rect(left, y, right - left + 1, block.height);
    if (!block.layout) {
        painter.drawText(rect, kTextFlags, block.text);
        return;
    }
    // Lines wider than the page (a word that cannot be wrapped) are cut at
    // its edge, as the painter does.
    const QRectF area(rect);
    const bool clip = !area.contains(QRectF(area.x(), area.y(), block.width, block.lineHeights));
    if (clip) {
        painter.save();
        painter.setClipRect(area, Qt::IntersectClip);
    }
    for (int i = 0; i < block.layout->lineCount(); ++i)
        block.layout->lineAt(i).draw(&painter, area.topLeft());
    if (clip)
        painter.restore();
}
