#pragma once

#include <QDateTime>

// The stored date unit: whole seconds since 2001-01-01 00:00:00 UTC.
constexpr qint64 kStoredDateEpochOffset = 978307200; // 2001-01-01 in seconds since 1970

// The stored date as local time.
QDateTime storedDateToLocal(int storedDate);
// A phone time (milliseconds since 1970) in the stored unit.
int storedDateFromPhoneTime(qint64 msecsSince1970);
