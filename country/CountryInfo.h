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
    QString mobileRx; // anchored mobile-number pattern, empty for the empty record

    bool isNationalLength(int length) const;
    bool isMobileNumber(const QString& digits) const;
};

// Brings an address into the one form used to match correspondents.
QString normalizePhoneNumber(const CountryInfo& country, QString address);
