#pragma once

#include <QPainter>
#include <QString>

class QPrinter;
struct _MsgMessage;

// Lays messages out on printer pages, one block per message: the date and
// "To: " or "From: " with the conversation in the message's colour, then the
// text in black, all wrapped at word boundaries. Every page carries its
// number right-aligned below the content. Used by the PDF export and by
// printing, so both look alike.
//
// A block that does not fit on the rest of the page starts a new one; a
// block taller than a whole page is drawn past that page's bottom. A text
// longer than kPageTextLimit characters shows its beginning and a note of
// how many characters are left out.
class MessagePageWriter
{
public:
    static constexpr int kPageTextLimit = 3000;

    // Computes the content rectangle from the page margins and starts
    // painting on page 1. When painting cannot begin nothing is drawn later.
    void beginPages(QPrinter* printer);
    // Draws one message block, starting a new page when it does not fit.
    void writeMessage(const _MsgMessage& message);
    // Starts a new page when fewer than height units are left on this one.
    void ensureSpace(int height);
    // Ends painting, which completes the document; false when ending failed
    // (or painting never began).
    bool endPages();
    // True from a successful beginPages() until endPages().
    bool isActive() const { return painter.isActive(); }

    // The height text needs wrapped at word boundaries to width, in the page
    // font (the application font at 12 points).
    int textHeight(const QString& text, int width) const;

private:
    // A text wrapped to the content width, laid out once: measured for the
    // page break, then drawn from the same layout.
    struct Block;
    Block layOut(const QString& text, int width) const;
    void drawPageNumber();
    void drawBlock(const Block& block);

    QPrinter* printer = nullptr;
    QPainter painter;
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int y = 0;
    int page = 1;
};
