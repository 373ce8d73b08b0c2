#pragma once

#include "store/SimpleSms.h"

struct CountryInfo;

// One message as the phone sends it on a backup connection ("$sms:" record:
// time in ms, direction, then Base64 address, contact name, text, subject),
// turned into the records the message database writer takes.
class PhoneSms
{
public:
    PhoneSms() = default;
    PhoneSms(const PhoneSms&) = delete;
    PhoneSms& operator=(const PhoneSms&) = delete;

    // Fills the records from a record of at least six comma-separated fields
    // (later ones ignored), the address normalised for the country. False
    // for a shorter record; nothing is set then.
    bool read(const QString& record, const CountryInfo& country);

    const _MsgMessage& message() const { return sms.message(); }
    // The records as the database writer takes them.
    const SimpleSms& record() const { return sms; }

private:
    SimpleSms sms;
};
