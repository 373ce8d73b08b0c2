#include "tools/phonesim/SimState.h"

#include <QFile>
#include <QFileInfo>

namespace {
QString stateRoot()
{
    const QString configured = qEnvironmentVariable("TEXTFERRY_PHONESIM_DIR");
    if (!configured.isEmpty())
        return QFileInfo(configured).absoluteFilePath();
    return QDir::home().filePath(QStringLiteral(".textferry-phonesim"));
}
} // namespace

SimState::SimState() : dir(stateRoot())
{
    dir.mkpath(QStringLiteral("."));
}

QString SimState::phoneFile(const QString& serial) const
{
    return dir.filePath(QStringLiteral("phones/") + serial + QStringLiteral(".json"));
}

QString SimState::installedMarker(const QString& serial) const
{
    return dir.filePath(QStringLiteral("installed/") + serial);
}

QString SimState::restoredFile(const QString& serial) const
{
    return dir.filePath(QStringLiteral("restored/") + serial + QStringLiteral(".jsonl"));
}

QStringList SimState::pluggedSerials() const
{
    const QDir phones(phonesDir());
    QStringList serials;
    const QStringList names = phones.entryList({QStringLiteral("*.json")}, QDir::Files, QDir::Name);
    for (const QString& name : names)
        serials.append(name.chopped(5));
    return serials;
}

bool SimState::isPlugged(const QString& serial) const
{
    return !serial.isEmpty() && QFileInfo(phoneFile(serial)).isFile();
}

bool SimState::isInstalled(const QString& serial) const
{
    return !serial.isEmpty() && QFileInfo::exists(installedMarker(serial));
}

bool SimState::setInstalled(const QString& serial, bool installed) const
{
    const QString marker = installedMarker(serial);
    if (!installed)
        return !QFileInfo::exists(marker) || QFile::remove(marker);
    dir.mkpath(QStringLiteral("installed"));
    QFile file(marker);
    return file.open(QIODevice::WriteOnly);
}

QString SimState::adbFault() const
{
    QFile file(faultFile());
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromUtf8(file.readAll()).trimmed();
}

QString SimState::generatedFile(const QString& key) const
{
    dir.mkpath(QStringLiteral("generated"));
    return dir.filePath(QStringLiteral("generated/") + key + QStringLiteral(".bin"));
}
