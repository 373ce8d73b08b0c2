#include "tools/phonesim/PhoneFiles.h"

#include "tools/phonesim/CommandLine.h"
#include "tools/phonesim/JsonMembers.h"
#include "tools/phonesim/PhoneMessages.h"
#include "tools/phonesim/PhoneProfile.h"
#include "tools/phonesim/SimState.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>

#include <cstdio>

namespace {
int complain(const QString& text)
{
    std::fprintf(stderr, "textferry-phonesim: %s\n", qPrintable(text));
    return 1;
}

// Serials become file names and adb listing words.
bool isUsableSerial(const QString& serial)
{
    static const QRegularExpression pattern(QStringLiteral("^[A-Za-z0-9_:\\-][A-Za-z0-9_.:\\-]*$"));
    return pattern.match(serial).hasMatch();
}

bool writeFile(const QString& path, const QByteArray& bytes, QString* error)
{
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit())
        return true;
    *error = path + QStringLiteral(": ") + file.errorString();
    return false;
}

// The phone's text with its "serial" value replaced, everything else as written.
QByteArray withSerial(const QByteArray& text, const QString& serial)
{
    const QList<JsonMembers::Member> members = JsonMembers::scan(text);
    const JsonMembers::Member* member = JsonMembers::find(members, QStringLiteral("serial"));
    if (!member)
        return text;
    return text.left(member->valueStart) + JsonMembers::quote(serial) + text.mid(member->valueEnd);
}

QByteArray jsonMember(const QString& key, const QByteArray& value)
{
    return "  " + JsonMembers::quote(key) + ": " + value;
}

// The info object of a generated phone: the defaults, some of them replaced.
QByteArray generatedInfo(const QString& serial, const CommandLine& line)
{
    PhoneProfile defaults;
    QString error;
    defaults.parse("{}", serial, &error);
    QList<QByteArray> entries;
    for (const auto& entry : defaults.infoEntries()) {
        const QString value = line.value(entry.first, entry.second);
        entries.append(JsonMembers::quote(entry.first) + ": " + JsonMembers::quote(value));
    }
    return "{" + entries.join(", ") + "}";
}
} // namespace

namespace PhoneFiles {

int plug(const CommandLine& line)
{
    if (line.positional().size() != 1)
        return complain(QStringLiteral("usage: plug PHONE.json [--serial S]"));
    const QString source = line.positional().first();
    QFile file(source);
    if (!file.open(QIODevice::ReadOnly))
        return complain(source + QStringLiteral(": ") + file.errorString());
    const QByteArray text = file.readAll();
    PhoneProfile phone;
    QString error;
    if (!phone.parse(text, QFileInfo(source).completeBaseName(), &error))
        return complain(source + QStringLiteral(": ") + error);
    const QString serial = line.value(QStringLiteral("serial"), phone.serial());
    if (!isUsableSerial(serial))
        return complain(QStringLiteral("unusable serial \"%1\"").arg(serial));

    const SimState state;
    QDir().mkpath(state.phonesDir());
    if (!writeFile(state.phoneFile(serial), withSerial(text, serial), &error))
        return complain(error);
    if (!state.setInstalled(serial, phone.installedWhenPlugged()))
        return complain(QStringLiteral("cannot mark the app installed on ") + serial);
    return 0;
}

int unplug(const CommandLine& line)
{
    if (line.positional().size() != 1)
        return complain(QStringLiteral("usage: unplug SERIAL"));
    const QString serial = line.positional().first();
    if (!isUsableSerial(serial))
        return complain(QStringLiteral("unusable serial \"%1\"").arg(serial));
    const SimState state;
    QFile::remove(state.phoneFile(serial));
    state.setInstalled(serial, false);
    return 0;
}

int generate(const CommandLine& line)
{
    if (line.positional().size() != 1)
        return complain(
            QStringLiteral("usage: generate OUT.json [--messages N] [--conversations M] [--seed S] "
                           "[--serial S] [--fault F] [--fault-exchange K] [--batch B] [--companion no] ..."));
    const QString out = line.positional().first();
    const QString serial = line.value(QStringLiteral("serial"), QFileInfo(out).completeBaseName());
    if (!isUsableSerial(serial))
        return complain(QStringLiteral("unusable serial \"%1\"").arg(serial));
    qint64 messages = 0;
    qint64 conversations = 0;
    qint64 seed = 0;
    qint64 batch = 0;
    QString error;
    if (!line.number(QStringLiteral("messages"), 1000, 0, 10000000, &messages, &error) ||
        !line.number(QStringLiteral("conversations"), PhoneMessages::defaultConversations(int(messages)), 1,
                     1000000, &conversations, &error) ||
        !line.number(QStringLiteral("seed"), 1, 0, 0xFFFFFFFFLL, &seed, &error) ||
        !line.number(QStringLiteral("batch"), 100, 1, 1000000, &batch, &error))
        return complain(error);

    QList<QByteArray> members;
    members.append(jsonMember(QStringLiteral("serial"), JsonMembers::quote(serial)));
    members.append(
        jsonMember(QStringLiteral("state"),
                   JsonMembers::quote(line.value(QStringLiteral("state"), QStringLiteral("device")))));
    // --companion no: a phone without the app that refuses its stand-in package, read over the shell.
    const bool companion =
        line.value(QStringLiteral("companion"), QStringLiteral("yes")) != QLatin1String("no");
    members.append(jsonMember(QStringLiteral("installed"), companion ? "true" : "false"));
    if (!companion)
        members.append(jsonMember(QStringLiteral("install"), JsonMembers::quote(QStringLiteral("not-apk"))));
    members.append(
        jsonMember(QStringLiteral("fault"),
                   JsonMembers::quote(line.value(QStringLiteral("fault"), QStringLiteral("none")))));
    members.append(
        jsonMember(QStringLiteral("faultExchange"),
                   JsonMembers::quote(line.value(QStringLiteral("fault-exchange"), QStringLiteral("any")))));
    members.append(jsonMember(QStringLiteral("batch"), QByteArray::number(batch)));
    members.append(jsonMember(QStringLiteral("generate"),
                              "{\"messages\": " + QByteArray::number(messages) +
                                  ", \"conversations\": " + QByteArray::number(conversations) +
                                  ", \"seed\": " + QByteArray::number(seed) + "}"));
    members.append(jsonMember(QStringLiteral("info"), generatedInfo(serial, line)));
    if (!writeFile(out, "{\n" + members.join(",\n") + "\n}\n", &error))
        return complain(error);
    // Generated now, once: every connection then serves them at once.
    PhoneMessages::generated(QJsonObject{{QStringLiteral("messages"), double(messages)},
                                         {QStringLiteral("conversations"), double(conversations)},
                                         {QStringLiteral("seed"), double(seed)}});
    return 0;
}

} // namespace PhoneFiles
