#pragma once

#include <QDateTime>

// The stored date unit: whole seconds since 2001-01-01 00:00:00 UTC, in an
// int. Every conversion to and from it lives here.

// The stored date as local time.
QDateTime storedDateToLocal(int storedDate);
// The stored date as seconds since 1970-01-01 UTC.
qint64 storedDateToUnixSeconds(int storedDate);
// The stored date as a phone time: milliseconds since 1970-01-01 UTC.
qint64 storedDateToPhoneTime(int storedDate);

// Seconds since 1970-01-01 UTC in the stored unit, kept within the range of
// the field (a nonsense time must not wrap round into a plausible date).
int storedDateFromUnixSeconds(qint64 seconds);
// A phone time (milliseconds since 1970) in the stored unit, truncated
// toward zero to whole seconds and kept within the range of the field.
int storedDateFromPhoneTime(qint64 msecsSince1970);
