#include "export/MessagePageWriter.h"

#include "store/MessageText.h"
#include "store/MsgMessage.h"
#include "store/StoredDate.h"

#include <QCoreApplication>
#include <QFontInfo>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QLocale>
#include <QPrinter>

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
} // namespace

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
    const QString date = QLocale::system().toString(storedDateToLocal(message.date), QLocale::ShortFormat);
    const QString who = whoText(message);
    const QString body = boundedText(displayText(message));
    const int width = right - left + 1;
    const int dateHeight = textHeight(date, width);
    const int whoHeight = textHeight(who, width);
    const int bodyHeight = textHeight(body, width);
    ensureSpace(dateHeight + whoHeight + bodyHeight + 2 * kLineGap);
    painter.setPen(colourOf(message));
    drawText(date, dateHeight);
    y += dateHeight + kLineGap;
    drawText(who, whoHeight);
    y += whoHeight + kLineGap;
    painter.setPen(Qt::black);
    drawText(body, bodyHeight);
    y += bodyHeight + kBlockGap;
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
    const QFontMetrics metrics = printer ? QFontMetrics(pageFont(), printer) : QFontMetrics(pageFont());
    return metrics.boundingRect(QRect(0, 0, width, 0), kTextFlags, text).height();
}

void MessagePageWriter::drawPageNumber()
{
    const QRect numberRect(left, bottom + kPageNumberGap, right - left + 1, kPageNumberHeight);
    painter.drawText(numberRect, Qt::AlignRight, QString::number(page));
}

void MessagePageWriter::drawText(const QString& text, int height)
{
    painter.drawText(QRect(left, y, right - left + 1, height), kTextFlags, text);
}
