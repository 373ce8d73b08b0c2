#include "android/ShellRoute.h"

#include "android/AndroidDevice.h"

#include <QRegularExpression>

namespace ShellRoute {

QString shellQuoted(const QString& text)
{
    static const QRegularExpression plain(QStringLiteral("^[A-Za-z0-9_]+$"));
    return plain.match(text).hasMatch() ? text : QLatin1Char('\'') + text + QLatin1Char('\'');
}

QStringList contentQueryArgs(const QString& serial, const QString& uri, const QString& projection)
{
    return {QStringLiteral("-s"),
            serial,
            QStringLiteral("shell"),
            QStringLiteral("content"),
            QStringLiteral("query"),
            QStringLiteral("--uri"),
            uri,
            QStringLiteral("--projection"),
            shellQuoted(projection),
            QStringLiteral("--sort"),
            QStringLiteral("\"_id ASC\"")};
}

QStringList getpropArgs(const QString& serial, const QString& name)
{
    return {QStringLiteral("-s"), serial, QStringLiteral("shell"), QStringLiteral("getprop"), name};
}

QString propertyValue(const QString& output)
{
    return output.section(QLatin1Char('\n'), 0, 0).trimmed();
}

QString countryCodeOfOperators(const QString& operators)
{
    for (const QString& entry : operators.split(QLatin1Char(','))) {
        const QString number = entry.trimmed();
        if (!number.isEmpty())
            return number.left(3);
    }
    return QString();
}

int sdkLevel(const QString& value)
{
    bool ok = false;
    const int level = value.trimmed().toInt(&ok, 10);
    return ok ? level : 0;
}

void fillShellRecord(AndroidDevice& record, const std::function<QString(const QString&)>& getProperty)
{
    record.isWifi = false;
    record.viaAdbShell = true;
    record.uid = QStringLiteral("adb-shell:") + record.serial;
    record.manufacturer = getProperty(QStringLiteral("ro.product.manufacturer"));
    record.model = getProperty(QStringLiteral("ro.product.model"));
    record.sdk = getProperty(QStringLiteral("ro.build.version.release"));
    record.sdkId = sdkLevel(getProperty(QStringLiteral("ro.build.version.sdk")));
    record.mmc = countryCodeOfOperators(getProperty(QStringLiteral("gsm.sim.operator.numeric")));
}

QString adbGetprop(const QString& serial, const QString& name, const AdbStopCheck& stop)
{
    return propertyValue(runAdb(getpropArgs(serial, name), true, stop));
}

} // namespace ShellRoute
