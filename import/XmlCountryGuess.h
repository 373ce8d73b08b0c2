#pragma once

#include "country/CountryInfo.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>

// Guesses the country a phone's XML backup was made in from its
// international numbers: the calling code most of them carry, mapped to the
// region that holds it. The raw bytes of the file are searched for address
// attributes, without parsing the XML, so the pass costs little next to the
// import; only values that start with "+" or "00" count, and the calling
// code is the longest of the library's codes they begin with.
//
//     XmlCountryGuess guess(countries.callingCodes());
//     while (...) guess.scan(file.read(chunk));
//     guess.finish();
//     const CountryInfo country = guess.region(countries.countriesOfCallingCode(guess.callingCode()));
class XmlCountryGuess
{
public:
    explicit XmlCountryGuess(const QStringList& callingCodes);

    // Takes the next bytes of the file; an address may be split between calls.
    void scan(const QByteArray& bytes);
    // The file ended: whatever is still pending is looked at.
    void finish();

    // The calling code most international numbers carry (the smaller code on
    // a tie); empty when the file holds none.
    QString callingCode() const;
    // The international numbers seen, with repeats.
    int internationalNumbers() const { return international; }

    // Of the regions sharing the calling code, main region first (as
    // CountryLibDb::countriesOfCallingCode gives them): the one whose mobile
    // numbers make up most of the file's numbers with that code, the first
    // on a tie. The empty record for an empty list.
    CountryInfo region(const QList<CountryInfo>& candidates) const;

private:
    void scanPending(bool ended);
    void count(const QByteArray& value);
    QString codeOf(const QString& digits) const;

    QSet<QString> codes;
    int longestCode = 0;
    QByteArray pending;
    QHash<QString, int> perCode;   // calling code: numbers
    QHash<QString, int> perNumber; // digits after "+": repeats (a bounded number of them)
    int international = 0;
};
