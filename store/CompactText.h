#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringBuilder>

#include <utility>

// A text held in one allocation of its own as UTF-8: for the mostly Latin
// texts and guids of messages about half the bytes of a QString, and 8 bytes
// when empty. It reads back as the very QString it was given (a string that
// UTF-8 cannot carry, one with an unpaired surrogate, is kept as UTF-16), and
// bytes taken from the database read back as QString::fromUtf8 reads them.
// Copies are deep: no two records, and no two threads, share a buffer.
class CompactText
{
public:
    CompactText() noexcept = default;
    // Implicit, as the records' text fields were QStrings and are assigned from them.
    CompactText(const QString& text); // NOLINT(google-explicit-constructor)
    template <typename A, typename B>
    CompactText(const QStringBuilder<A, B>& text) : CompactText(QString(text)) // NOLINT(google-explicit-constructor)
    {}
    CompactText(const CompactText& other);
    CompactText(CompactText&& other) noexcept : block(std::exchange(other.block, nullptr)) {}
    CompactText& operator=(const CompactText& other);
    CompactText& operator=(CompactText&& other) noexcept;
    ~CompactText();

    // The UTF-8 bytes of a database column, kept as they are.
    static CompactText fromUtf8(QByteArrayView utf8);

    bool isEmpty() const { return block == nullptr; }
    QString toString() const;
    operator QString() const { return toString(); } // NOLINT(google-explicit-constructor)
    QByteArray toUtf8() const { return toString().toUtf8(); }

    friend bool operator==(const CompactText& a, const CompactText& b) { return a.toString() == b.toString(); }
    friend bool operator!=(const CompactText& a, const CompactText& b) { return !(a == b); }
    friend bool operator==(const CompactText& a, const QString& b) { return a.toString() == b; }
    friend bool operator!=(const CompactText& a, const QString& b) { return !(a == b); }
    friend bool operator==(const QString& a, const CompactText& b) { return a == b.toString(); }
    friend bool operator!=(const QString& a, const CompactText& b) { return !(a == b); }

private:
    static char* allocate(bool utf16, qsizetype units, const void* data);

    // A header (the payload's length in units, and whether they are UTF-16
    // units rather than UTF-8 bytes) and the payload; null for an empty text.
    char* block = nullptr;
};
