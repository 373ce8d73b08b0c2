#include "android/PhoneSms.h"

#include "android/SimpleProtocol.h"
#include "country/CountryInfo.h"
#include "store/StoredDate.h"

#include <QStringList>

namespace {
constexpr int kRecordFields = 6;
} // namespace

bool PhoneSms::read(const QString& record, const CountryInfo& country)
{
    const QStringList fields = record.split(QLatin1Char(','));
    if (fields.size() < kRecordFields)
        return false;
    bool ok = false;
    const bool fromMe = fields.at(1).toInt(&ok) == 1 && ok;
    sms.fill({normalizePhoneNumber(country, simpleprotocol::decodeText(fields.at(2))),
              simpleprotocol::decodeText(fields.at(3)), simpleprotocol::decodeText(fields.at(4)),
              simpleprotocol::decodeText(fields.at(5)), storedDateFromPhoneTime(fields.at(0).toLongLong()),
              fromMe});
    return true;
}
