#pragma once

#include "country/CountryInfo.h"

#include <QDir>
#include <QString>
#include <QThread>

class JobProgress;

// The country an XML backup's numbers are normalised with. A database that
// already keeps a country for its correspondents keeps it; otherwise the
// country comes from the user (the country dialog, the command line's
// --country), preset with the one the file's own numbers point to, else with
// the system's.

// Looks for the country of a phone's XML backup (XmlCountryGuess) under the
// progress dialog: one pass over the file's bytes, the progress following
// them, the cancel checked once a chunk. Ends with an empty success text.
class XmlCountryGuessThread : public QThread
{
public:
    XmlCountryGuessThread(const QString& filePath, JobProgress* form, QObject* parent);

    // After success: the region the numbers point to, the empty record when
    // the file holds no international number.
    CountryInfo country() const { return guessed; }
    // The international numbers that decided it.
    int numbers() const { return counted; }

protected:
    void run() override;

private:
    void guess();

    QString filePath;
    JobProgress* form;
    CountryInfo guessed;
    int counted = 0;
};

// The region code (upper case) the local database in the folder keeps for
// most of its correspondents; empty when it has no database file yet or none
// of them names a country. Throws when the file can't be read.
QString storedDatabaseCountry(const QDir& folder);

// The region code of the system's locale when the country library knows
// it; empty otherwise.
QString systemLocaleCountry();
