#include "android/PhoneSms.h"

#include "android/SimpleProtocol.h"
#include "country/CountryInfo.h"
#include "store/MessageHash.h"

#include <QStringList>

#include <algorithm>
#include <limits>

namespace {
// Seconds from 1970-01-01 to 2001-01-01, UTC.
constexpr qint64 kStoredEpochOffset = 978307200;
constexpr int kRecordFields = 6;
} // namespace

int storedDateFromPhoneMs(qint64 milliseconds)
{
    const qint64 seconds = milliseconds / 1000 - kStoredEpochOffset;
    return int(std::clamp<qint64>(seconds, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

bool PhoneSms::read(const QString& record, const CountryInfo& country)
{
    const QStringList fields = record.split(QLatin1Char(','));
    if (fields.size() < kRecordFields)
        return false;
    const QString address = normalizePhoneNumber(country, simpleprotocol::decodeText(fields.at(2)));

    handle.id = address;
    handle._ct_name = simpleprotocol::decodeText(fields.at(3));

    chat.guid = QStringLiteral("SMS;-;") + address;
    chat.chat_identifier = address;
    chat.participants.insert(address, &handle);

    sms.text = simpleprotocol::decodeText(fields.at(4));
    sms.subject = simpleprotocol::decodeText(fields.at(5));
    sms.service = QStringLiteral("SMS");
    sms.account = QStringLiteral("e:");
    sms.date = storedDateFromPhoneMs(fields.at(0).toLongLong());
    sms.date_read = sms.date;
    sms.date_delivered = sms.date;
    bool ok = false;
    sms.is_from_me = fields.at(1).toInt(&ok) == 1 && ok ? 1 : 0;
    sms.is_finished = 1;
    sms.is_prepared = 1;
    sms.is_read = 1;
    sms.is_sent = 1;
    sms.was_data_detected = 1;
    sms.handle = &handle;
    sms.chat = &chat;
    sms.guid = guidFromBytes(logicHash(sms).toUtf8());
    return true;
}
