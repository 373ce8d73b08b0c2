#pragma once

#include "country/CountryInfo.h"
#include "sql/AbsDb.h"

#include <QList>
#include <QStringList>

class Sqlite3Sql;

// The country library: countries.db copied from the resources into the data
// folder on first use, and the country of one mobile country code.
class CountryLibDb : public AbsDb
{
public:
    explicit CountryLibDb(const QString& mcc);

    // Copies the database out of the resources when the data folder has none,
    // opens it and looks up the country of the MCC given at construction.
    // Throws std::runtime_error or SqliteException.
    void open() override;

    CountryInfo currentCountry();
    // The country owning mcc; the current country and *found = false when
    // no country owns it.
    CountryInfo findByMcc(const QString& mcc, bool* found = nullptr);
    // The country of a region code in any case; the current country and
    // *found = false when there is none.
    CountryInfo findBySn(const QString& sn, bool* found = nullptr);

    // Every calling code the library knows ("1", "44", "358").
    QStringList callingCodes();
    // The regions sharing a calling code, its main region first: the one
    // that owns the most mobile country codes (999, the code of regions
    // without one, not counted), then by region code. So +1 leads with US,
    // +44 with GB, +61 with AU. Empty for a code no region has.
    QList<CountryInfo> countriesOfCallingCode(const QString& pnum);

private:
    static QString copyFromResources();
    CountryInfo findOne(const Sqlite3Sql& sql, bool* found);

    QString mcc;
    CountryInfo current;
};
