#pragma once

#include "country/CountryInfo.h"
#include "store/sql/AbsDb.h"

// The country library: countries.db copied from the resources into the data
// folder on first use, and the country of one mobile country code.
class CountryLibDb : public AbsDb
{
public:
    explicit CountryLibDb(const QString& mcc);

    void open() override;

    CountryInfo currentCountry();
    CountryInfo findByMcc(const QString& mcc, bool* found = nullptr);
    CountryInfo findBySn(const QString& sn, bool* found = nullptr);

private:
    QString mcc;
    CountryInfo current;
};
