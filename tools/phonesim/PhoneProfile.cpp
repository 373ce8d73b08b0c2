#include "tools/phonesim/PhoneProfile.h"

#include "tools/phonesim/JsonMembers.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>

#include <cmath>

namespace {
// Info values travel as plain text: numbers without a fraction as integers,
// booleans as 1 and 0.
QString infoValueText(const QJsonValue& value)
{
    if (value.isString())
        return value.toString();
    if (value.isBool())
        return value.toBool() ? QStringLiteral("1") : QStringLiteral("0");
    if (value.isDouble()) {
        const double number = value.toDouble();
        if (std::floor(number) == number && std::abs(number) < 9e15)
            return QString::number(qint64(number));
        return QString::number(number);
    }
    return QString();
}

// "35" and 13 digits that stay the same for the same serial.
QString imeiForSerial(const QString& serial)
{
    quint64 hash = 14695981039346656037ULL;
    for (const char byte : serial.toUtf8()) {
        hash ^= quint8(byte);
        hash *= 1099511628211ULL;
    }
    return QStringLiteral("35") +
           QStringLiteral("%1").arg(hash % 10000000000000ULL, 13, 10, QLatin1Char('0'));
}
} // namespace

bool PhoneProfile::load(const QString& path, QString* error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = path + QStringLiteral(": ") + file.errorString();
        return false;
    }
    if (!parse(file.readAll(), QFileInfo(path).completeBaseName(), error)) {
        *error = path + QStringLiteral(": ") + *error;
        return false;
    }
    return true;
}

bool PhoneProfile::parse(const QByteArray& text, const QString& fallbackSerial, QString* error)
{
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(text, &parseError);
    if (!document.isObject()) {
        *error = parseError.error != QJsonParseError::NoError ? parseError.errorString()
                                                              : QStringLiteral("not a JSON object");
        return false;
    }
    source = text;
    object = document.object();
    serialText = hasOwnSerial() ? object.value(QStringLiteral("serial")).toString() : fallbackSerial;
    readInfo();
    return true;
}

bool PhoneProfile::hasOwnSerial() const
{
    return !object.value(QStringLiteral("serial")).toString().isEmpty();
}

QString PhoneProfile::word(const QString& key, const QString& fallback) const
{
    const QString value = object.value(key).toString().trimmed();
    return value.isEmpty() ? fallback : value;
}

QString PhoneProfile::state() const
{
    return word(QStringLiteral("state"), QStringLiteral("device"));
}

bool PhoneProfile::installedWhenPlugged() const
{
    return object.value(QStringLiteral("installed")).toBool(true);
}

QString PhoneProfile::packageListing() const
{
    return word(QStringLiteral("pm"), QStringLiteral("default"));
}

bool PhoneProfile::crlf() const
{
    return object.value(QStringLiteral("crlf")).toBool(false);
}

bool PhoneProfile::installFails() const
{
    return word(QStringLiteral("install"), QStringLiteral("ok")) == QLatin1String("fail");
}

bool PhoneProfile::installRefusesNotApk() const
{
    return word(QStringLiteral("install"), QStringLiteral("ok")) == QLatin1String("not-apk");
}

QString PhoneProfile::infoValue(const QString& key, const QString& fallback) const
{
    for (const auto& entry : info) {
        if (entry.first == key)
            return entry.second;
    }
    return fallback;
}

QString PhoneProfile::property(const QString& name) const
{
    const QJsonObject props = object.value(QStringLiteral("props")).toObject();
    if (props.contains(name))
        return infoValueText(props.value(name));
    if (name == QLatin1String("ro.product.manufacturer"))
        return infoValue(QStringLiteral("manufacturer"), QStringLiteral("Textferry"));
    if (name == QLatin1String("ro.product.model"))
        return infoValue(QStringLiteral("model"), QStringLiteral("Sim Phone"));
    if (name == QLatin1String("ro.build.version.release"))
        return infoValue(QStringLiteral("sdk"), QStringLiteral("13"));
    if (name == QLatin1String("ro.build.version.sdk"))
        return infoValue(QStringLiteral("sdk_id"), QStringLiteral("33"));
    if (name == QLatin1String("gsm.sim.operator.numeric")) {
        const QString mcc = infoValue(QStringLiteral("mmc"), QStringLiteral("310"));
        return mcc.isEmpty() ? QString() : mcc + QStringLiteral("260");
    }
    return QString();
}

int PhoneProfile::sdkLevel() const
{
    return property(QStringLiteral("ro.build.version.sdk")).trimmed().toInt();
}

QString PhoneProfile::shellFault() const
{
    return word(QStringLiteral("shellFault"), QStringLiteral("none"));
}

int PhoneProfile::shellFaultRow() const
{
    return object.value(QStringLiteral("shellFaultRow")).toInt(-1);
}

bool PhoneProfile::broadcastFails() const
{
    return word(QStringLiteral("broadcast"), QStringLiteral("ok")) == QLatin1String("error");
}

QString PhoneProfile::faultFor(ExchangeKind kind) const
{
    const QString target = word(QStringLiteral("faultExchange"), QStringLiteral("any"));
    if (target != QLatin1String("any") && target != ConnectionUrl::kindName(kind))
        return QStringLiteral("none");
    return word(QStringLiteral("fault"), QStringLiteral("none"));
}

int PhoneProfile::batchSize() const
{
    return qMax(1, object.value(QStringLiteral("batch")).toInt(100));
}

int PhoneProfile::faultBatch() const
{
    return qMax(1, object.value(QStringLiteral("faultBatch")).toInt(1));
}

bool PhoneProfile::needsDefaultSmsApp() const
{
    const QJsonValue value = object.value(QStringLiteral("defsmsapp"));
    return value.isBool() ? value.toBool() : value.toInt() != 0;
}

QByteArray PhoneProfile::infoText() const
{
    QString text;
    for (const auto& entry : info)
        text += entry.first + QLatin1Char('=') + entry.second + QLatin1Char(';');
    return text.toUtf8();
}

void PhoneProfile::readInfo()
{
    info.clear();
    const QList<JsonMembers::Member> members = JsonMembers::scan(source);
    const JsonMembers::Member* infoMember = JsonMembers::find(members, QStringLiteral("info"));
    if (!infoMember || !object.value(QStringLiteral("info")).isObject()) {
        addDefaultInfo();
        return;
    }
    for (const JsonMembers::Member& entry : JsonMembers::scan(source, infoMember->valueStart))
        info.append({entry.key, infoValueText(JsonMembers::value(source, entry))});
}

void PhoneProfile::addDefaultInfo()
{
    info = {{QStringLiteral("version"), QStringLiteral("12")},
            {QStringLiteral("model"), QStringLiteral("Sim Phone")},
            {QStringLiteral("manufacturer"), QStringLiteral("Textferry")},
            {QStringLiteral("imei"), imeiForSerial(serialText)},
            {QStringLiteral("uid"), QStringLiteral("uid-") + serialText},
            {QStringLiteral("sdk"), QStringLiteral("13")},
            {QStringLiteral("sdk_id"), QStringLiteral("33")},
            {QStringLiteral("root"), QStringLiteral("0")},
            {QStringLiteral("storage1"), QStringLiteral("/sdcard")},
            {QStringLiteral("mmc"), QStringLiteral("310")}};
}
