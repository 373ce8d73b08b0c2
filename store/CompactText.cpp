#include "store/CompactText.h"

#include <cstdlib>
#include <cstring>
#include <new>
#include <stdexcept>

namespace {
// The header: the payload's length in units, and in the top bit whether the
// units are UTF-16 rather than UTF-8 bytes. Four bytes, so that a 36-character
// guid fits a 48-byte heap chunk.
using Header = quint32;
constexpr Header kUtf16 = 0x80000000u;
constexpr qsizetype kMaxUnits = 0x7fffffff;

Header headerOf(const char* block)
{
    Header header;
    std::memcpy(&header, block, sizeof(Header));
    return header;
}

qsizetype unitsOf(Header header)
{
    return qsizetype(header & ~kUtf16);
}

qsizetype bytesOf(const char* block)
{
    const Header header = headerOf(block);
    return qsizetype(sizeof(Header)) + unitsOf(header) * ((header & kUtf16) ? 2 : 1);
}
} // namespace

char* CompactText::allocate(bool utf16, qsizetype units, const void* data)
{
    if (units <= 0)
        return nullptr;
    if (units > kMaxUnits)
        throw std::length_error("text too long");
    const size_t payload = size_t(units) * (utf16 ? 2 : 1);
    char* block = static_cast<char*>(std::malloc(sizeof(Header) + payload));
    if (!block)
        throw std::bad_alloc();
    const Header header = Header(units) | (utf16 ? kUtf16 : 0u);
    std::memcpy(block, &header, sizeof(Header));
    std::memcpy(block + sizeof(Header), data, payload);
    return block;
}

CompactText::CompactText(const QString& text)
{
    if (text.isEmpty())
        return;
    if (text.isValidUtf16()) {
        const QByteArray utf8 = text.toUtf8();
        block = allocate(false, utf8.size(), utf8.constData());
    } else {
        block = allocate(true, text.size(), text.constData());
    }
}

CompactText::CompactText(const CompactText& other)
{
    if (other.block) {
        const qsizetype bytes = bytesOf(other.block);
        block = static_cast<char*>(std::malloc(size_t(bytes)));
        if (!block)
            throw std::bad_alloc();
        std::memcpy(block, other.block, size_t(bytes));
    }
}

CompactText& CompactText::operator=(const CompactText& other)
{
    if (this != &other)
        *this = CompactText(other);
    return *this;
}

CompactText& CompactText::operator=(CompactText&& other) noexcept
{
    if (this != &other) {
        std::free(block);
        block = std::exchange(other.block, nullptr);
    }
    return *this;
}

CompactText::~CompactText()
{
    std::free(block);
}

CompactText CompactText::fromUtf8(QByteArrayView utf8)
{
    CompactText text;
    text.block = allocate(false, utf8.size(), utf8.data());
    return text;
}

QString CompactText::toString() const
{
    if (!block)
        return QString();
    const Header header = headerOf(block);
    const char* payload = block + sizeof(Header);
    if (header & kUtf16)
        return QString(reinterpret_cast<const QChar*>(payload), unitsOf(header));
    return QString::fromUtf8(payload, unitsOf(header));
}
