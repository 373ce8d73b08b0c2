#include "store/StoredDate.h"

#include <algorithm>
#include <limits>

namespace {
// 2001-01-01 00:00:00 UTC in seconds since 1970.
constexpr qint64 kStoredDateEpochOffset = 978307200;
} // namespace

QDateTime storedDateToLocal(int storedDate)
{
    return QDateTime::fromSecsSinceEpoch(storedDateToUnixSeconds(storedDate), Qt::LocalTime);
}

qint64 storedDateToUnixSeconds(int storedDate)
{
    return qint64(storedDate) + kStoredDateEpochOffset;
}

qint64 storedDateToPhoneTime(int storedDate)
{
    return storedDateToUnixSeconds(storedDate) * 1000;
}

int storedDateFromUnixSeconds(qint64 seconds)
{
    // Far outside the field's range only for broken input; never wrapped.
    const qint64 stored = seconds > std::numeric_limits<qint64>::min() + kStoredDateEpochOffset
                              ? seconds - kStoredDateEpochOffset
                              : std::numeric_limits<qint64>::min();
    return int(std::clamp<qint64>(stored, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

int storedDateFromPhoneTime(qint64 msecsSince1970)
{
    return storedDateFromUnixSeconds(msecsSince1970 / 1000);
}
