#include "import/XmlCountryGuess.h"

#include <algorithm>

namespace {

const QByteArray kAttribute("address=");
// Longer values are no phone numbers; shorter national parts neither.
constexpr int kLongestAddress = 64;
constexpr int kShortestNationalNumber = 4;
// Distinct numbers kept for the choice of the region; a backup has far fewer.
constexpr int kMostNumbersKept = 10000;

bool isSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

// The digits after the international prefix ("+" or "00") of an address
// made of digits and the usual punctuation; empty for anything else.
QString internationalDigits(const QByteArray& value)
{
    QByteArray digits;
    bool plus = false;
    for (const char c : value) {
        if (c >= '0' && c <= '9')
            digits += c;
        else if (c == '+' && digits.isEmpty() && !plus)
            plus = true;
        else if (!isSpace(c) && c != '-' && c != '(' && c != ')' && c != '.' && c != '/')
            return QString();
    }
    if (plus)
        return QString::fromLatin1(digits);
    if (digits.startsWith("00"))
        return QString::fromLatin1(digits.mid(2));
    return QString();
}

} // namespace

XmlCountryGuess::XmlCountryGuess(const QStringList& callingCodes)
    : codes(callingCodes.cbegin(), callingCodes.cend())
{
    for (const QString& code : callingCodes)
        longestCode = std::max(longestCode, int(code.size()));
}

void XmlCountryGuess::scan(const QByteArray& bytes)
{
    pending += bytes;
    scanPending(false);
}

void XmlCountryGuess::finish()
{
    scanPending(true);
    pending.clear();
}

void XmlCountryGuess::scanPending(bool ended)
{
    const int size = int(pending.size());
    // Bytes before this are done; an attribute begun before the end waits for more.
    int keep = ended ? size : std::max(0, size - int(kAttribute.size()));
    for (int from = 0;;) {
        const int at = int(pending.indexOf(kAttribute, from));
        if (at < 0)
            break;
        from = at + 1;
        if (at > 0 && !isSpace(pending.at(at - 1)))
            continue; // part of another attribute's name
        const int quote = at + int(kAttribute.size());
        if (quote >= size) {
            keep = std::min(keep, std::max(0, at - 1));
            break;
        }
        const char q = pending.at(quote);
        if (q != '"' && q != '\'')
            continue;
        const int end = int(pending.indexOf(q, quote + 1));
        if (end < 0 && !ended && size - quote <= kLongestAddress) {
            keep = std::min(keep, std::max(0, at - 1)); // with the character before it
            break;
        }
        if (end < 0 || end - quote - 1 > kLongestAddress)
            continue;
        count(pending.mid(quote + 1, end - quote - 1));
        from = end + 1;
        keep = std::max(keep, std::min(from, size));
    }
    pending.remove(0, keep);
}

void XmlCountryGuess::count(const QByteArray& value)
{
    const QString digits = internationalDigits(value);
    const QString code = codeOf(digits);
    if (code.isEmpty())
        return;
    ++international;
    ++perCode[code];
    auto it = perNumber.find(digits);
    if (it != perNumber.end())
        ++it.value();
    else if (perNumber.size() < kMostNumbersKept)
        perNumber.insert(digits, 1);
}

// The longest calling code the digits begin with, leaving a national number.
QString XmlCountryGuess::codeOf(const QString& digits) const
{
    for (int length = std::min(longestCode, int(digits.size()) - kShortestNationalNumber); length > 0;
         --length) {
        const QString prefix = digits.left(length);
        if (codes.contains(prefix))
            return prefix;
    }
    return QString();
}

QString XmlCountryGuess::callingCode() const
{
    QString best;
    int bestCount = 0;
    for (auto it = perCode.cbegin(); it != perCode.cend(); ++it) {
        const bool smallerOnTie = it.value() == bestCount && it.key().toInt() < best.toInt();
        if (it.value() > bestCount || smallerOnTie) {
            best = it.key();
            bestCount = it.value();
        }
    }
    return best;
}

CountryInfo XmlCountryGuess::region(const QList<CountryInfo>& candidates) const
{
    CountryInfo best;
    int bestScore = -1;
    for (const CountryInfo& candidate : candidates) {
        int score = 0;
        for (auto it = perNumber.cbegin(); it != perNumber.cend(); ++it) {
            if (!it.key().startsWith(candidate.pnum))
                continue;
            const QString national = it.key().mid(candidate.pnum.size());
            if (candidate.isNationalLength(int(national.size())) && candidate.isMobileNumber(national))
                score += it.value();
        }
        if (score > bestScore) {
            best = candidate;
            bestScore = score;
        }
    }
    return best;
}
