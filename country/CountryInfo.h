#pragma once

#include <QString>

// One row of the country library. A default-constructed record (seven null
// strings) is the empty record: no country known.
struct CountryInfo
{
    QString sn;       // region code, upper case
    QString n;        // English name
    QString ln;       // name in the region's own language
    QString pnum;     // calling code, digits only
    QString mmc;      // mobile country codes, comma-separated
    QString numc;     // allowed national number lengths, comma-separated
    QString mobileRx; // whole-text mobile-number pattern, empty for the empty record

    // True when length is one of the lengths in numc (an empty or non-numeric
    // entry counts as length 0).
    bool isNationalLength(int length) const;
    // True when digits as a whole matches mobileRx; false for an empty mobileRx.
    bool isMobileNumber(const QString& digits) const;
};

// Makes mobileRx from a mobile national-number pattern: the whole pattern is
// grouped before it is anchored, so every top-level alternative must span the
// whole text. An empty pattern matches only the empty text.
QString anchoredMobilePattern(const QString& pattern);

// Brings an address into the one form used to match correspondents.
QString normalizePhoneNumber(const CountryInfo& country, QString address);
