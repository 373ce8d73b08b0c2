#include "store/StoredDate.h"

#include <limits>

QDateTime storedDateToLocal(int storedDate)
{
    return QDateTime::fromSecsSinceEpoch(qint64(storedDate) + kStoredDateEpochOffset, Qt::LocalTime);
}

int storedDateFromPhoneTime(qint64 msecsSince1970)
{
    const qint64 seconds = msecsSince1970 / 1000 - kStoredDateEpochOffset;
    // A nonsense phone time must not wrap round into a plausible date.
    if (seconds > std::numeric_limits<int>::max())
        return std::numeric_limits<int>::max();
    if (seconds < std::numeric_limits<int>::min())
        return std::numeric_limits<int>::min();
    return int(seconds);
}
