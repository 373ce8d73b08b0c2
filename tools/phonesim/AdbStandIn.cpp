#include "tools/phonesim/AdbStandIn.h"

#include "tools/phonesim/ConnectionUrl.h"
#include "tools/phonesim/PhoneProfile.h"
#include "tools/phonesim/ShellProvider.h"
#include "tools/phonesim/ShellWords.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QProcess>
#include <QRegularExpression>

#include <cstdio>
#include <unistd.h>

namespace {
const QString kReceiver = QStringLiteral("com.quillbridge.smssync/.AdbSyncBroadcastReceiver");
const QString kReceiverLong =
    QStringLiteral("com.quillbridge.smssync/com.quillbridge.smssync.AdbSyncBroadcastReceiver");

const char kUnauthorized[] = "error: device unauthorized.\n"
                             "This adb server's $ADB_VENDOR_KEYS is not set\n"
                             "Try 'adb kill-server' if that seems wrong.\n"
                             "Otherwise check for a confirmation dialog on your device.\n";

bool isTcpSpec(const QString& word)
{
    static const QRegularExpression pattern(QStringLiteral("^tcp:[0-9]{1,5}$"));
    return pattern.match(word).hasMatch();
}

// The words the phone's shell would see: adb joins the shell arguments with
// spaces and the shell splits them again. Empty, with *error set, when the
// shell refuses the line.
QStringList shellWords(const QStringList& args, QString* error = nullptr)
{
    QStringList words;
    QString complaint;
    if (!splitShellWords(args.join(QLatin1Char(' ')), &words, &complaint)) {
        if (error)
            *error = complaint;
        return {};
    }
    return words;
}

// Modern pm (Android 7 on) is "cmd package": no "-l", a listing for "list packages".
bool isModernPm(const PhoneProfile& phone)
{
    return phone.packageListing() == QLatin1String("default") && phone.sdkLevel() >= 24;
}

// The intent as "am broadcast" prints it, from -a, -c, -d, -t and -n.
QByteArray intentText(const QHash<QString, QStringList>& options)
{
    QStringList parts;
    if (options.contains(QStringLiteral("-a")))
        parts << QStringLiteral("act=") + options.value(QStringLiteral("-a")).last();
    if (options.contains(QStringLiteral("-c")))
        parts << QStringLiteral("cat=[") + options.value(QStringLiteral("-c")).join(QLatin1Char(',')) +
                     QLatin1Char(']');
    if (options.contains(QStringLiteral("-d")))
        parts << QStringLiteral("dat=") + options.value(QStringLiteral("-d")).last();
    if (options.contains(QStringLiteral("-t")))
        parts << QStringLiteral("typ=") + options.value(QStringLiteral("-t")).last();
    parts << QStringLiteral("flg=0x400000");
    if (options.contains(QStringLiteral("-n")))
        parts << QStringLiteral("cmp=") + options.value(QStringLiteral("-n")).last();
    return "Broadcasting: Intent { " + parts.join(QLatin1Char(' ')).toUtf8() + " }\n";
}
} // namespace

AdbStandIn::AdbStandIn(const QStringList& args) : args(args), commandWords(args)
{
    if (commandWords.size() >= 2 && commandWords.first() == QLatin1String("-s")) {
        serial = commandWords.at(1);
        commandWords = commandWords.mid(2);
    }
}

int AdbStandIn::run()
{
    logCall();
    const QString command = commandWords.value(0);
    if (command == QLatin1String("kill-server") && commandWords.size() == 1) {
        QFile::remove(state.serverFile());
        return 0;
    }
    if (state.adbFault() == QLatin1String("hang"))
        hangForever();
    announceServerStart();
    if (command == QLatin1String("start-server") && commandWords.size() == 1)
        return 0;
    if (command == QLatin1String("devices") && commandWords.size() == 1)
        return listDevices();
    if (!serial.isEmpty() && isDeviceCommand(commandWords))
        return runOnDevice(commandWords);
    return unknownCommand();
}

void AdbStandIn::logCall() const
{
    QFile log(state.adbLogFile());
    if (log.open(QIODevice::WriteOnly | QIODevice::Append))
        log.write(args.join(QLatin1Char(' ')).toUtf8() + "\n");
}

void AdbStandIn::hangForever()
{
    std::fflush(nullptr);
    for (;;)
        pause();
}

// Like adb, the first command after the server has stopped starts it again.
void AdbStandIn::announceServerStart() const
{
    QFile server(state.serverFile());
    if (server.open(QIODevice::WriteOnly | QIODevice::NewOnly))
        writeErr("* daemon not running; starting now at tcp:5037\n* daemon started successfully\n");
}

int AdbStandIn::listDevices() const
{
    const QString fault = state.adbFault();
    if (fault == QLatin1String("devices-stderr")) {
        writeErr("adb: error: failed to read devices: simulated\n");
        return 1;
    }
    QByteArray listing = "List of devices attached\n";
    if (fault == QLatin1String("devices-garbage"))
        listing += "\t\n???? ##\nlonelyserial\n";
    for (const QString& plugged : state.pluggedSerials()) {
        PhoneProfile phone;
        QString error;
        const QString phoneState =
            phone.load(state.phoneFile(plugged), &error) ? phone.state() : QStringLiteral("offline");
        listing += plugged.toUtf8() + '\t' + phoneState.toUtf8() + '\n';
    }
    writeOut(listing + "\n");
    return 0;
}

int AdbStandIn::unknownCommand() const
{
    writeErr("adb: unknown command " + commandWords.join(QLatin1Char(' ')).toUtf8() + "\n");
    return 1;
}

// The device commands Textferry uses, in the shapes it uses them.
bool AdbStandIn::isDeviceCommand(const QStringList& words)
{
    const QString command = words.value(0);
    if (command == QLatin1String("forward"))
        return words.size() == 3 && isTcpSpec(words.at(1)) && isTcpSpec(words.at(2));
    if (command == QLatin1String("install"))
        return words.size() >= 2 && !words.last().startsWith(QLatin1Char('-'));
    if (command != QLatin1String("shell"))
        return false;
    QString refused;
    const QStringList shell = shellWords(words.mid(1), &refused);
    if (!refused.isEmpty())
        return true; // the phone's shell itself complains
    const bool packages =
        shell == QStringList{QStringLiteral("pm"), QStringLiteral("-l")} ||
        shell == QStringList{QStringLiteral("pm"), QStringLiteral("list"), QStringLiteral("packages")};
    const bool broadcast =
        shell.size() >= 2 && shell.at(0) == QLatin1String("am") && shell.at(1) == QLatin1String("broadcast");
    const bool getprop = shell.size() == 2 && shell.at(0) == QLatin1String("getprop");
    const bool content = shell.size() >= 2 && shell.at(0) == QLatin1String("content");
    return packages || broadcast || getprop || content;
}

int AdbStandIn::runOnDevice(const QStringList& words) const
{
    PhoneProfile phone;
    if (!loadReadyPhone(&phone))
        return 1;
    const QString command = words.first();
    if (command == QLatin1String("forward"))
        return 0; // the phone server listens on the same port of this computer
    if (command == QLatin1String("install"))
        return install(phone, words);
    QString refused;
    const QStringList shell = shellWords(words.mid(1), &refused);
    if (!refused.isEmpty()) {
        writeErr(refused.toUtf8());
        return 1;
    }
    if (shell.first() == QLatin1String("pm"))
        return listPackages(phone, shell.size() == 2);
    if (shell.first() == QLatin1String("getprop"))
        return ShellProvider::getprop(phone, shell.mid(1));
    if (shell.first() == QLatin1String("content"))
        return ShellProvider::content(phone, state, serial, shell.mid(1));
    return broadcast(phone, shell.mid(2));
}

// False, after adb's complaint, when the phone is missing or not usable.
bool AdbStandIn::loadReadyPhone(PhoneProfile* phone) const
{
    if (!state.isPlugged(serial)) {
        writeErr("error: device '" + serial.toUtf8() + "' not found\n");
        return false;
    }
    QString error;
    const QString phoneState =
        phone->load(state.phoneFile(serial), &error) ? phone->state() : QStringLiteral("offline");
    if (phoneState == QLatin1String("device"))
        return true;
    if (phoneState == QLatin1String("unauthorized"))
        writeErr(kUnauthorized);
    else if (phoneState.startsWith(QLatin1String("no permissions")))
        writeErr("error: insufficient permissions for device\n");
    else
        writeErr("error: device offline\n");
    return false;
}

int AdbStandIn::listPackages(const PhoneProfile& phone, bool dashL) const
{
    const QString mode = phone.packageListing();
    if (mode == QLatin1String("empty"))
        return 0;
    if (mode == QLatin1String("fail")) {
        writeOut("Error: Unknown option: -l\n");
        return 0;
    }
    if (dashL && isModernPm(phone)) {
        writeOut(phone.crlf() ? "Unknown command: -l\r\n" : "Unknown command: -l\n");
        return 255;
    }
    QStringList packages = {QStringLiteral("com.android.phone"), QStringLiteral("com.android.settings"),
                            QStringLiteral("com.google.android.gms")};
    if (state.isInstalled(serial))
        packages << QStringLiteral("com.quillbridge.smssync");
    const QByteArray end = phone.crlf() ? "\r\n" : "\n";
    QByteArray listing;
    for (const QString& package : packages)
        listing += "package:" + package.toUtf8() + end;
    writeOut(listing);
    return 0;
}

int AdbStandIn::install(const PhoneProfile& phone, const QStringList& words) const
{
    const QByteArray path = words.last().toUtf8();
    if (!QFileInfo::exists(words.last())) {
        writeErr("adb: failed to stat " + path + ": No such file or directory\n");
        return 1;
    }
    writeOut("Performing Streamed Install\n");
    if (phone.installRefusesNotApk()) {
        writeErr(
            "adb: failed to install " + path +
            ": Failure [INSTALL_PARSE_FAILED_NOT_APK: Failed to parse /data/app/vmdl1013252374.tmp/base.apk: "
            "Failed to load asset path /data/app/vmdl1013252374.tmp/base.apk]\n");
        return 1;
    }
    if (phone.installFails()) {
        writeErr("adb: failed to install " + path + ": Failure [INSTALL_FAILED_INSUFFICIENT_STORAGE]\n");
        return 1;
    }
    writeOut("Success\n");
    state.setInstalled(serial, true);
    return 0;
}

// words: what follows "am broadcast".
int AdbStandIn::broadcast(const PhoneProfile& phone, const QStringList& words) const
{
    static const QStringList withValue = {QStringLiteral("-n"),    QStringLiteral("-d"), QStringLiteral("-a"),
                                          QStringLiteral("-c"),    QStringLiteral("-t"), QStringLiteral("-f"),
                                          QStringLiteral("--user")};
    QHash<QString, QStringList> options;
    for (qsizetype i = 0; i < words.size(); ++i) {
        if (!withValue.contains(words.at(i)) || i + 1 >= words.size()) {
            writeOut("Error: Unknown option: " + words.at(i).toUtf8() + "\n");
            return 0;
        }
        options[words.at(i)].append(words.at(i + 1));
        ++i;
    }
    writeOut(intentText(options));
    if (phone.broadcastFails()) {
        writeOut("Error: Broadcast not delivered: simulated failure\n");
        return 0;
    }
    writeOut("Broadcast completed: result=0\n");
    const QString component = options.value(QStringLiteral("-n")).value(0);
    const QString url = options.value(QStringLiteral("-d")).value(0);
    if (state.isInstalled(serial) && (component == kReceiver || component == kReceiverLong) && !url.isEmpty())
        startPhoneServer(phone, url);
    return 0;
}

// The companion app starts listening: a detached "textferry-phonesim serve",
// unless the phone's fault keeps it quiet over USB.
void AdbStandIn::startPhoneServer(const PhoneProfile& phone, const QString& url) const
{
    ConnectionUrl parsed;
    const bool known = ConnectionUrl::parse(url, &parsed);
    if (known && phone.faultFor(parsed.kind) == QLatin1String("mute-usb"))
        return;
    const QString program =
        QDir::cleanPath(QCoreApplication::applicationDirPath() + QStringLiteral("/../textferry-phonesim"));
    QProcess process;
    process.setProgram(program);
    process.setArguments({QStringLiteral("serve"), QStringLiteral("--phone"), state.phoneFile(serial),
                          QStringLiteral("--url"), url});
    process.setStandardInputFile(QProcess::nullDevice());
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(state.serveLogFile(), QIODevice::Append);
    if (!process.startDetached())
        writeErr("adb stand-in: cannot start " + program.toUtf8() + "\n");
}

void AdbStandIn::writeOut(const QByteArray& bytes)
{
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
    std::fflush(stdout);
}

void AdbStandIn::writeErr(const QByteArray& bytes)
{
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stderr);
    std::fflush(stderr);
}
