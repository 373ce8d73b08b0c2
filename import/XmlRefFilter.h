#pragma once

#include <QByteArray>
#include <QIODevice>

// Reads an XML file through, mending what the phone's backup app writes but
// XML 1.0 forbids, so that a strict parser takes the file:
// - a character written as two numeric references to its UTF-16 surrogates
//   ("&#55357;&#56832;") becomes one reference to the character;
// - a lone surrogate reference, a reference to NUL or to no character becomes
//   U+FFFD;
// - a control character (U+0001..U+001F but tab, line feed and carriage
//   return), written as a reference or as a raw byte, becomes a stand-in:
//   the noncharacter U+FDD0 followed by U+FDD0 + its code;
// - U+FDD0 itself, raw or as a reference, is doubled, so that the stand-ins
//   never meet text of the file: controlCharsRestored() turns both back, and
//   every other character (U+FDD1..U+FDEF too) comes through unchanged.
// Everything else passes byte for byte. Reads the source in chunks: memory
// does not grow with the file.
class XmlRefFilter : public QIODevice
{
public:
    // Reads the source chunkSize bytes at a time.
    explicit XmlRefFilter(QIODevice* source, qint64 chunkSize = 256 * 1024);

    bool isSequential() const override { return true; }
    bool atEnd() const override;
    qint64 bytesAvailable() const override;

    // The bytes taken from the source so far.
    qint64 sourceBytesRead() const { return sourceRead; }

    // A value the parser read, with the stand-ins of control characters and
    // the doubled U+FDD0 turned back into what the file held.
    static QString controlCharsRestored(const QString& text);

protected:
    qint64 readData(char* data, qint64 maxSize) override;
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    // Moves what can be decided from pending to ready; at the source's end, all of it.
    void fill();
    void translate(bool sourceEnded);
    // Length of the reference at pending[at] ("&#...;"), 0 when it is none,
    // -1 when the buffer ends before that is known. Its code point in value.
    int reference(int at, bool sourceEnded, qint64& value) const;

    QIODevice* source;
    qint64 chunkSize;
    QByteArray pending; // read from the source, not yet translated
    QByteArray ready;   // translated, not yet handed out
    int readyPos = 0;
    qint64 sourceRead = 0;
    bool sourceEnded = false;
};
