#include "android/AndroidDevice.h"

#include "base/AppDirs.h"

#include <QDir>

namespace {
int decimalOrZero(const QString& value)
{
    bool ok = false;
    const int number = value.trimmed().toInt(&ok, 10);
    return ok ? number : 0;
}

// The imei as a folder name that stays inside android_cache (no separators,
// no leading dots) and that the file system takes, however long the imei.
QString cacheFolderName(const QString& imei)
{
    return safeFileName(imei);
}
} // namespace

QString AndroidDevice::deviceId() const
{
    return isWifi ? uid : serial;
}

QString AndroidDevice::displayName() const
{
    QString name = manufacturer;
    if (!model.isEmpty())
        name += QLatin1Char(' ') + model;
    return name.trimmed();
}

QString AndroidDevice::cacheDir() const
{
    // A phone that reports no usable imei still gets a folder of its own.
    QString name = viaAdbShell ? cacheFolderName(QStringLiteral("shell-") + serial) : cacheFolderName(imei);
    for (const QString& other : {uid, serial, QStringLiteral("unknown")}) {
        if (name.isEmpty())
            name = cacheFolderName(other);
    }
    const QString path = appDataDir().absoluteFilePath(QStringLiteral("android_cache/") + name);
    QDir().mkpath(path);
    return QDir::cleanPath(path);
}

bool AndroidDevice::setInfoValue(const QString& key, const QString& value)
{
    if (key == QLatin1String("uid"))
        uid = value;
    else if (key == QLatin1String("version"))
        version = decimalOrZero(value);
    else if (key == QLatin1String("model"))
        model = value;
    else if (key == QLatin1String("manufacturer"))
        manufacturer = value;
    else if (key == QLatin1String("imei"))
        imei = value;
    else if (key == QLatin1String("sdk"))
        sdk = value;
    else if (key == QLatin1String("sdk_id"))
        sdkId = decimalOrZero(value);
    else if (key == QLatin1String("root"))
        root = decimalOrZero(value) != 0;
    else if (key == QLatin1String("storage1"))
        storage1 = value;
    else if (key == QLatin1String("mmc"))
        mmc = value;
    else
        return false;
    return true;
}
