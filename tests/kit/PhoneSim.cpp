#include "tests/kit/PhoneSim.h"

#include "android/SimpleProtocol.h"
#include "base/AppDirs.h"

#include <QCoreApplication>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>

namespace {
bool runSim(const QStringList& args)
{
    QProcess sim;
    sim.start(qEnvironmentVariable("TEXTFERRY_PHONESIM"), args);
    return sim.waitForFinished(30000) && sim.exitStatus() == QProcess::NormalExit && sim.exitCode() == 0;
}

bool writeJson(const QString& path, const QJsonObject& object)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(QJsonDocument(object).toJson()) > 0;
}
} // namespace

PhoneSim::PhoneSim()
{
    qputenv("TEXTFERRY_PHONESIM_DIR", QFile::encodeName(state.path()));
    // Ports come from the clock and a per-process counter; test programs that
    // run side by side start their counters at different places.
    for (qint64 i = 0; i < QCoreApplication::applicationPid() % 90; ++i)
        simpleprotocol::pickPort();
}

QJsonObject PhoneSim::phone(const QString& serial)
{
    return QJsonObject{
        {QStringLiteral("serial"), serial},
        {QStringLiteral("info"), QJsonObject{{QStringLiteral("version"), QStringLiteral("12")},
                                             {QStringLiteral("model"), QStringLiteral("Pixel Sim")},
                                             {QStringLiteral("manufacturer"), QStringLiteral("Quillbridge")},
                                             {QStringLiteral("imei"), QStringLiteral("350000000000001")},
                                             {QStringLiteral("uid"), QStringLiteral("sim-uid-1")},
                                             {QStringLiteral("mmc"), QStringLiteral("310")}}},
        {QStringLiteral("messages"), QJsonArray()}};
}

AndroidDevice PhoneSim::companionRecord(const QJsonObject& phone)
{
    const QJsonObject info = phone.value(QStringLiteral("info")).toObject();
    AndroidDevice record;
    record.serial = phone.value(QStringLiteral("serial")).toString();
    record.uid = info.value(QStringLiteral("uid")).toString();
    record.imei = info.value(QStringLiteral("imei")).toString();
    record.mmc = info.value(QStringLiteral("mmc")).toString();
    return record;
}

QJsonObject PhoneSim::message(qint64 ms, bool sent, const QString& address, const QString& name,
                              const QString& body)
{
    return QJsonObject{{QStringLiteral("date"), double(ms)}, {QStringLiteral("type"), sent ? 1 : 2},
                       {QStringLiteral("address"), address}, {QStringLiteral("name"), name},
                       {QStringLiteral("body"), body},       {QStringLiteral("subject"), QString()}};
}

bool PhoneSim::plug(const QJsonObject& phone)
{
    const QString path = state.filePath(
        QStringLiteral("plug-") + phone.value(QStringLiteral("serial")).toString() + QStringLiteral(".json"));
    return writeJson(path, phone) && runSim({QStringLiteral("plug"), path});
}

bool PhoneSim::unplug(const QString& serial)
{
    return runSim({QStringLiteral("unplug"), serial});
}

bool PhoneSim::update(const QJsonObject& phone)
{
    return writeJson(state.filePath(QStringLiteral("phones/") +
                                    phone.value(QStringLiteral("serial")).toString() +
                                    QStringLiteral(".json")),
                     phone);
}

void PhoneSim::setAdbFault(const QString& word)
{
    QFile file(state.filePath(QStringLiteral("adb-fault")));
    if (word.isEmpty()) {
        file.remove();
        return;
    }
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(word.toUtf8());
}

QStringList PhoneSim::adbCalls() const
{
    QFile file(state.filePath(QStringLiteral("adb.log")));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

void PhoneSim::forgetAdbCalls()
{
    QFile::remove(state.filePath(QStringLiteral("adb.log")));
}

bool PhoneSim::startAfresh()
{
    const bool unplugged = unplug(QStringLiteral("S1"));
    forgetAdbCalls();
    removeDirRecursively(appDataDir().absoluteFilePath(QStringLiteral("android_cache")));
    return unplugged;
}
