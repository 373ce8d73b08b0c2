#include "bench/PhoneSimSupport.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>

namespace PhoneSimSupport {

void usePhoneSimulator(const QTemporaryDir& home)
{
    qputenv("PATH", QByteArray(TEXTFERRY_STANDIN_BIN) + ':' + qgetenv("PATH"));
    const QString state = home.filePath(QStringLiteral("phonesim"));
    QDir().mkpath(state);
    qputenv("TEXTFERRY_PHONESIM_DIR", QFile::encodeName(state));
}

bool runPhoneSim(const QStringList& args)
{
    QProcess sim;
    sim.setProcessChannelMode(QProcess::ForwardedChannels);
    sim.start(QStringLiteral(TEXTFERRY_PHONESIM), args);
    return sim.waitForFinished(600000) && sim.exitCode() == 0;
}

bool plugGeneratedPhone(const QTemporaryDir& home, const QString& serial, const QString& imei, int messages)
{
    const QString file = home.filePath(serial + QStringLiteral(".json"));
    return runPhoneSim({QStringLiteral("generate"), file, QStringLiteral("--messages"),
                        QString::number(messages), QStringLiteral("--serial"), serial,
                        QStringLiteral("--imei"), imei, QStringLiteral("--mmc"), QStringLiteral("310")}) &&
           runPhoneSim({QStringLiteral("plug"), file});
}

AndroidDevice plugBenchPhone(const QTemporaryDir& home, const QString& serial, const QString& imei,
                             int messages)
{
    usePhoneSimulator(home);
    if (!plugGeneratedPhone(home, serial, imei, messages)) {
        std::fprintf(stderr, "the phone simulator could not plug the phone %s\n", qPrintable(serial));
        std::exit(1);
    }
    AndroidDevice phone;
    phone.serial = serial;
    phone.imei = imei;
    phone.mmc = QStringLiteral("310");
    return phone;
}

} // namespace PhoneSimSupport
