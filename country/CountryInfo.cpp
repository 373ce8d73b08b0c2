#include "country/CountryInfo.h"

#include <QHash>
#include <QRegularExpression>
#include <QStringView>

#include <algorithm>
#include <utility>

namespace {

// Compiled mobile patterns of this thread, keyed by their text. Normalisation
// runs for every address read, so a pattern is compiled once per thread, not
// per call; the cap only guards against patterns built on the fly.
constexpr int kMaxCachedPatterns = 512;

const QRegularExpression& compiledPattern(const QString& pattern)
{
    thread_local QHash<QString, QRegularExpression> cache;
    auto it = cache.constFind(pattern);
    if (it != cache.constEnd())
        return *it;
    if (cache.size() >= kMaxCachedPatterns)
        cache.clear();
    QRegularExpression rx(pattern);
    rx.optimize();
    return *cache.insert(pattern, rx);
}

bool isAsciiLetterOrAt(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= u'a' && u <= u'z') || (u >= u'A' && u <= u'Z') || u == u'@';
}

bool isDigitOrPlus(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= u'0' && u <= u'9') || u == u'+';
}

} // namespace

bool CountryInfo::isNationalLength(int length) const
{
    const auto parts = QStringView(numc).split(u',');
    for (const QStringView part : parts) {
        if (part.toInt() == length)
            return true;
    }
    return false;
}

bool CountryInfo::isMobileNumber(const QString& digits) const
{
    if (mobileRx.isEmpty())
        return false;
    const QRegularExpression& rx = compiledPattern(mobileRx);
    return rx.isValid() && rx.match(digits).hasMatch();
}

QString anchoredMobilePattern(const QString& pattern)
{
    return QStringLiteral("^(?:") + pattern + QStringLiteral(")$");
}

QString normalizePhoneNumber(const CountryInfo& country, QString address)
{
    // E-mail addresses and named senders keep everything but their case.
    if (std::any_of(address.cbegin(), address.cend(), isAsciiLetterOrAt))
        return address.toLower();

    QString s;
    s.reserve(address.size());
    for (const QChar c : std::as_const(address)) {
        if (isDigitOrPlus(c))
            s.append(c);
    }
    if (s.contains(u'+'))
        return s;

    const int length = int(s.size());
    const QString plus = QStringLiteral("+");
    if (country.isNationalLength(length) && country.isMobileNumber(s))
        return plus + country.pnum + s;
    if (s.startsWith(u'0') && country.isNationalLength(length - 1)) {
        const QString national = s.mid(1);
        if (country.isMobileNumber(national))
            return plus + country.pnum + national;
    }
    // An empty calling code is a prefix of every number.
    const bool hasCallingCode = country.pnum.isEmpty() || s.startsWith(country.pnum);
    if (hasCallingCode && country.isNationalLength(length - int(country.pnum.size())))
        return plus + s;
    return s;
}
