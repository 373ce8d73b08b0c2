#include "tools/phonesim/ShellProvider.h"

#include "tools/phonesim/PhoneMessages.h"
#include "tools/phonesim/PhoneProfile.h"
#include "tools/phonesim/ShellOutput.h"
#include "tools/phonesim/ShellTable.h"
#include "tools/phonesim/SimState.h"

#include <QFile>
#include <QHash>
#include <QJsonArray>
#include <QJsonObject>

#include <unistd.h>

namespace ShellProvider {

namespace {

const QString kSmsUri = QStringLiteral("content://sms");
// How long an unplug waits for the rows sent before it to be read.
constexpr int kUnplugWaitMs = 60000;
const QString kPhonesUri = QStringLiteral("content://com.android.contacts/data/phones");

const char kStackTrace[] =
    "\tat android.database.DatabaseUtils.readExceptionFromParcel(DatabaseUtils.java:172)\n"
    "\tat android.database.DatabaseUtils.readExceptionFromParcel(DatabaseUtils.java:142)\n"
    "\tat android.content.ContentProviderProxy.query(ContentProviderNative.java:472)\n"
    "\tat com.android.commands.content.Content$QueryCommand.onExecute(Content.java:645)\n"
    "\tat com.android.commands.content.Content$Command.execute(Content.java:522)\n"
    "\tat com.android.commands.content.Content.main(Content.java:732)\n"
    "\tat com.android.internal.os.RuntimeInit.nativeFinishInit(Native Method)\n"
    "\tat com.android.internal.os.RuntimeInit.main(RuntimeInit.java:338)\n";

// What Content.java prints when the provider throws: on standard error, and
// the command still exits with 0.
int providerError(const QString& authority, const QString& exception)
{
    ShellOutput::writeErr("Error while accessing provider:" + authority.toUtf8() + "\n" + exception.toUtf8() +
                          "\n" + kStackTrace);
    return 0;
}

int usageError(const QString& error)
{
    ShellOutput out(false);
    out.write("usage: adb shell content [subcommand] [options]\n\n"
              "usage: adb shell content query --uri <URI> [--user <USER_ID>] [--projection <PROJECTION>] "
              "[--where <WHERE>] [--sort <SORT_ORDER>]\n\n[ERROR] " +
              error.toUtf8() + "\n");
    return 0;
}

struct QueryOptions
{
    QString uri;
    QString projection;
    QString where;
    QString sort;
};

// Content's own argument parsing; false after it printed its complaint.
bool parseQuery(const QStringList& args, QueryOptions* options)
{
    const QHash<QString, QString*> valued = {{QStringLiteral("--uri"), &options->uri},
                                             {QStringLiteral("--projection"), &options->projection},
                                             {QStringLiteral("--where"), &options->where},
                                             {QStringLiteral("--sort"), &options->sort}};
    QString user;
    for (qsizetype i = 1; i < args.size(); ++i) {
        QString* target = args.at(i) == QLatin1String("--user") ? &user : valued.value(args.at(i));
        if (!target) {
            usageError(QStringLiteral("Unsupported argument: ") + args.at(i));
            return false;
        }
        if (i + 1 >= args.size() || args.at(i + 1).isEmpty() ||
            args.at(i + 1).startsWith(QLatin1String("--"))) {
            usageError(QStringLiteral("No value for argument: ") + args.at(i));
            return false;
        }
        *target = args.at(++i);
    }
    if (options->uri.isEmpty()) {
        usageError(QStringLiteral("Content provider URI not specified. Did you specify --uri argument?"));
        return false;
    }
    return true;
}

// The SMS provider as the shell user sees it: inbox (1) and sent (2) only.
ShellTable smsTable(const PhoneProfile& phone)
{
    ShellTable table({QStringLiteral("_id"), QStringLiteral("address"), QStringLiteral("date"),
                      QStringLiteral("read"), QStringLiteral("type"), QStringLiteral("subject"),
                      QStringLiteral("body")});
    const QList<PhoneMessage> messages = PhoneMessages::of(phone);
    table.reserve(messages.size());
    for (qsizetype i = 0; i < messages.size(); ++i) {
        const PhoneMessage& m = messages.at(i);
        const int type = m.providerType();
        if (type != 1 && type != 2)
            continue;
        table.addRow({ShellValue::number(i + 1), ShellValue::text(m.address), ShellValue::number(m.dateMs),
                      ShellValue::number(1), ShellValue::number(type),
                      m.subjectNull ? ShellValue::null() : ShellValue::text(m.subject),
                      ShellValue::text(m.body)});
    }
    return table;
}

// The phone numbers of the contacts: the file's "contacts" ({"number", "name"}),
// else every address of a message that carries a name.
ShellTable phonesTable(const PhoneProfile& phone)
{
    ShellTable table({QStringLiteral("_id"), QStringLiteral("raw_contact_id"), QStringLiteral("display_name"),
                      QStringLiteral("data1"), QStringLiteral("data2")});
    QList<QPair<QString, QString>> entries;
    if (phone.json().value(QStringLiteral("contacts")).isArray()) {
        for (const QJsonValue& value : phone.json().value(QStringLiteral("contacts")).toArray()) {
            const QJsonObject contact = value.toObject();
            entries.append({contact.value(QStringLiteral("number")).toString(),
                            contact.value(QStringLiteral("name")).toString()});
        }
    } else {
        QHash<QString, bool> seen;
        for (const PhoneMessage& m : PhoneMessages::of(phone)) {
            if (m.name.isEmpty() || seen.contains(m.address))
                continue;
            seen.insert(m.address, true);
            entries.append({m.address, m.name});
        }
    }
    for (qsizetype i = 0; i < entries.size(); ++i) {
        table.addRow({ShellValue::number(100 + i), ShellValue::number(i + 1),
                      ShellValue::text(entries.at(i).second), ShellValue::text(entries.at(i).first),
                      ShellValue::number(2)});
    }
    return table;
}

// Where a fault of the message query strikes: after this many rows, or -1 for none.
int faultRow(const PhoneProfile& phone, const QueryOptions& options, int rows)
{
    const QString fault = phone.shellFault();
    const bool strikes = fault == QLatin1String("unplug-mid-stream") || fault == QLatin1String("stall");
    if (!strikes || options.uri != kSmsUri || !options.projection.contains(QLatin1String("body")))
        return -1;
    const int row = phone.shellFaultRow();
    return row >= 0 ? qMin(row, rows) : rows / 2;
}

// The phone goes away: its file and app mark vanish, as when the cable is pulled.
void unplugNow(const SimState& state, const QString& serial)
{
    QFile::remove(state.phoneFile(serial));
    state.setInstalled(serial, false);
}

} // namespace

int getprop(const PhoneProfile& phone, const QStringList& args)
{
    ShellOutput out(phone.crlf());
    out.write(phone.property(args.value(0)).toUtf8() + "\n");
    return 0;
}

int content(const PhoneProfile& phone, const SimState& state, const QString& serial, const QStringList& args)
{
    if (args.value(0) != QLatin1String("query"))
        return usageError(QStringLiteral("Unsupported operation: ") + args.value(0));
    QueryOptions options;
    if (!parseQuery(args, &options))
        return 0;
    const QString authority = options.uri.section(QLatin1Char('/'), 2, 2);
    if (options.uri != kSmsUri && options.uri != kPhonesUri)
        return providerError(authority,
                             QStringLiteral("java.lang.IllegalStateException: Could not find provider: ") +
                                 authority);
    ShellTable table = options.uri == kSmsUri ? smsTable(phone) : phonesTable(phone);
    QString problem;
    ShellQuery query;
    if (!table.prepare(options.projection, options.where, options.sort, &query, &problem))
        return providerError(authority, problem);
    if (phone.shellFault() == QLatin1String("no-hex") && query.usesHex())
        return providerError(authority,
                             QStringLiteral("java.lang.IllegalArgumentException: Invalid column ") +
                                 query.firstHexColumn());
    const QVector<int> rows = table.select(query);
    const int stopAfter = faultRow(phone, options, int(rows.size()));
    ShellOutput out(phone.crlf());
    if (rows.isEmpty())
        out.write("No result found.\n");
    for (int i = 0; i < rows.size(); ++i) {
        if (i == stopAfter)
            break;
        out.write(table.rowText(query, rows.at(i), i));
    }
    out.flush();
    if (stopAfter >= 0 && phone.shellFault() == QLatin1String("stall")) {
        for (;;)
            pause();
    }
    if (stopAfter >= 0) {
        out.waitUntilRead(kUnplugWaitMs); // Textferry has read the rows sent before the cable went
        unplugNow(state, serial);
    }
    return 0;
}

} // namespace ShellProvider
