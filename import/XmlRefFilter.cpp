#include "import/XmlRefFilter.h"

#include <algorithm>

namespace {

// "&#x10FFFF;" and "&#1114111;" are ten bytes; a few leading zeros more are fine.
constexpr int kLongestReference = 16;
// The escape of the stand-ins: a noncharacter no XML name may hold. It is
// followed by U+FDD0 + the code of a control character, or by itself for an
// escape that was in the file.
constexpr char16_t kEscape = 0xFDD0;
const QByteArray kEscapeUtf8("\xEF\xB7\x90");
const QByteArray kReplacement("\xEF\xBF\xBD");

bool isHighSurrogate(qint64 v)
{
    return v >= 0xD800 && v <= 0xDBFF;
}

bool isLowSurrogate(qint64 v)
{
    return v >= 0xDC00 && v <= 0xDFFF;
}

// Controls XML 1.0 forbids, even as references.
bool isForbiddenControl(unsigned v)
{
    return v < 0x20 && v != 0x09 && v != 0x0A && v != 0x0D;
}

// The stand-in of a control character (the escape and U+FDD0 + its code),
// or U+FFFD for NUL.
QByteArray controlStandIn(unsigned v)
{
    if (v == 0)
        return kReplacement;
    return kEscapeUtf8 + QString(QChar(char16_t(kEscape + v))).toUtf8();
}

// The escape written in the file, doubled so that it stands for itself.
const QByteArray kEscapedEscape = kEscapeUtf8 + kEscapeUtf8;

bool isEscapeAt(const char* p, int at)
{
    return p[at] == kEscapeUtf8[0] && p[at + 1] == kEscapeUtf8[1] && p[at + 2] == kEscapeUtf8[2];
}

void appendReference(QByteArray& out, qint64 value)
{
    out += "&#";
    out += QByteArray::number(value);
    out += ';';
}

} // namespace

XmlRefFilter::XmlRefFilter(QIODevice* source, qint64 chunkSize)
    : source(source), chunkSize(qMax<qint64>(1, chunkSize))
{
    open(QIODevice::ReadOnly | QIODevice::Unbuffered);
}

bool XmlRefFilter::atEnd() const
{
    return readyPos >= ready.size() && sourceEnded && pending.isEmpty();
}

qint64 XmlRefFilter::bytesAvailable() const
{
    return (ready.size() - readyPos) + pending.size() + (sourceEnded ? 0 : source->bytesAvailable());
}

qint64 XmlRefFilter::readData(char* data, qint64 maxSize)
{
    if (readyPos >= ready.size())
        fill();
    const qint64 n = std::min<qint64>(maxSize, ready.size() - readyPos);
    if (n <= 0)
        return sourceEnded ? -1 : 0;
    std::copy_n(ready.constData() + readyPos, n, data);
    readyPos += int(n);
    return n;
}

void XmlRefFilter::fill()
{
    ready.clear();
    readyPos = 0;
    while (ready.isEmpty() && !(sourceEnded && pending.isEmpty())) {
        if (!sourceEnded) {
            const QByteArray chunk = source->read(chunkSize);
            sourceRead += chunk.size();
            if (chunk.isEmpty())
                sourceEnded = true;
            pending += chunk;
        }
        translate(sourceEnded);
    }
}

void XmlRefFilter::translate(bool ended)
{
    const int size = int(pending.size());
    const char* p = pending.constData();
    ready.reserve(ready.size() + size + 16);
    int i = 0;
    int plain = 0; // start of the bytes not yet copied
    auto flushPlain = [&](int upTo) { ready.append(p + plain, upTo - plain); };
    while (i < size) {
        const auto c = static_cast<unsigned char>(p[i]);
        if (c == 0xEF) {
            if (i + 3 > size && !ended)
                break; // decided once more of the file is here
            if (i + 3 <= size && isEscapeAt(p, i)) {
                flushPlain(i);
                ready += kEscapedEscape;
                i += 3;
                plain = i;
                continue;
            }
            ++i;
            continue;
        }
        if (c >= 0x20 && c != '&') {
            ++i;
            continue;
        }
        if (c < 0x20) {
            if (!isForbiddenControl(c)) {
                ++i;
                continue;
            }
            flushPlain(i);
            ready += controlStandIn(c);
            plain = ++i;
            continue;
        }
        qint64 value = 0;
        const int length = reference(i, ended, value);
        if (length < 0)
            break; // decided once more of the file is here
        if (length == 0) {
            ++i;
            continue;
        }
        int consumed = length;
        QByteArray replacement;
        if (isHighSurrogate(value)) {
            const int next = i + length;
            qint64 low = 0;
            const int lowLength = next < size && p[next] == '&' ? reference(next, ended, low) : 0;
            if (lowLength < 0 || (next >= size && !ended))
                break;
            if (lowLength > 0 && isLowSurrogate(low)) {
                appendReference(replacement, 0x10000 + ((value - 0xD800) << 10) + (low - 0xDC00));
                consumed += lowLength;
            } else {
                replacement = kReplacement;
            }
        } else if (isLowSurrogate(value) || value == 0 || value > 0x10FFFF || value == 0xFFFE ||
                   value == 0xFFFF) {
            replacement = kReplacement;
        } else if (isForbiddenControl(unsigned(value))) {
            replacement = controlStandIn(unsigned(value));
        } else if (value == kEscape) {
            replacement = kEscapedEscape;
        } else {
            i += length;
            continue;
        }
        flushPlain(i);
        ready += replacement;
        i += consumed;
        plain = i;
    }
    flushPlain(i);
    pending.remove(0, i);
}

int XmlRefFilter::reference(int at, bool ended, qint64& value) const
{
    const int size = int(pending.size());
    const char* p = pending.constData();
    int i = at + 1;
    if (i >= size)
        return ended ? 0 : -1;
    if (p[i] != '#')
        return 0;
    ++i;
    bool hex = false;
    if (i < size && (p[i] == 'x' || p[i] == 'X')) {
        hex = true;
        ++i;
    }
    const int digitsStart = i;
    value = 0;
    for (; i < size && i - at < kLongestReference; ++i) {
        const char d = p[i];
        if (d == ';')
            return i > digitsStart ? i - at + 1 : 0;
        int digit = -1;
        if (d >= '0' && d <= '9')
            digit = d - '0';
        else if (hex && d >= 'a' && d <= 'f')
            digit = d - 'a' + 10;
        else if (hex && d >= 'A' && d <= 'F')
            digit = d - 'A' + 10;
        if (digit < 0)
            return 0;
        value = std::min<qint64>(value * (hex ? 16 : 10) + digit, 0x7FFFFFFF);
    }
    if (i - at >= kLongestReference || ended)
        return 0;
    return -1;
}

QString XmlRefFilter::controlCharsRestored(const QString& text)
{
    const qsizetype escape = text.indexOf(QChar(kEscape));
    if (escape < 0)
        return text;
    QString out = text.left(escape);
    out.reserve(text.size());
    const qsizetype n = text.size();
    for (qsizetype i = escape; i < n; ++i) {
        const char16_t u = text.at(i).unicode();
        const char16_t next = i + 1 < n ? text.at(i + 1).unicode() : 0;
        if (u == kEscape && next == kEscape) {
            out += QChar(kEscape);
            ++i;
        } else if (u == kEscape && next > kEscape && next < kEscape + 0x20) {
            out += QChar(char16_t(next - kEscape));
            ++i;
        } else {
            out += QChar(u);
        }
    }
    return out;
}
