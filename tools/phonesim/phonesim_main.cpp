// textferry-phonesim: a stand-in for an Android phone running the companion
// app, for tests and demos. See README.md next to this file.

#include "tools/phonesim/CommandLine.h"
#include "tools/phonesim/PhoneFiles.h"
#include "tools/phonesim/ServeCommands.h"

#include <QCoreApplication>

#include <cstdio>
#include <functional>

namespace {
const char kUsage[] =
    "usage: textferry-phonesim COMMAND ...\n"
    "  plug PHONE.json [--serial S]\n"
    "  unplug SERIAL\n"
    "  serve --phone FILE --url URL [--host 127.0.0.1] [--idle 30] [--lifetime S]\n"
    "  wifi --phone FILE [--port 44441] [--host 127.0.0.1] [--idle 30] [--lifetime S]\n"
    "  generate OUT.json [--messages N] [--conversations M] [--seed S] [--serial S]\n"
    "           [--state W] [--fault F] [--fault-exchange K] [--batch B] [--INFOKEY VALUE]\n"
    "           [--companion no]\n"
    "The state folder is $TEXTFERRY_PHONESIM_DIR, else ~/.textferry-phonesim.\n";

struct Command
{
    const char* name;
    QStringList options;
    std::function<int(const CommandLine&)> run;
};

QList<Command> commands()
{
    const QStringList serveOptions = {QStringLiteral("phone"), QStringLiteral("url"), QStringLiteral("host"),
                                      QStringLiteral("idle"), QStringLiteral("lifetime")};
    const QStringList wifiOptions = {QStringLiteral("phone"), QStringLiteral("port"), QStringLiteral("host"),
                                     QStringLiteral("idle"), QStringLiteral("lifetime")};
    const QStringList generateOptions = {QStringLiteral("messages"),
                                         QStringLiteral("conversations"),
                                         QStringLiteral("seed"),
                                         QStringLiteral("serial"),
                                         QStringLiteral("state"),
                                         QStringLiteral("fault"),
                                         QStringLiteral("fault-exchange"),
                                         QStringLiteral("batch"),
                                         QStringLiteral("companion"),
                                         QStringLiteral("version"),
                                         QStringLiteral("model"),
                                         QStringLiteral("manufacturer"),
                                         QStringLiteral("imei"),
                                         QStringLiteral("uid"),
                                         QStringLiteral("sdk"),
                                         QStringLiteral("sdk_id"),
                                         QStringLiteral("root"),
                                         QStringLiteral("storage1"),
                                         QStringLiteral("mmc")};
    return {{"plug", {QStringLiteral("serial")}, PhoneFiles::plug},
            {"unplug", {}, PhoneFiles::unplug},
            {"generate", generateOptions, PhoneFiles::generate},
            {"serve", serveOptions, ServeCommands::serve},
            {"wifi", wifiOptions, ServeCommands::wifi}};
}
} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    for (const Command& command : commands()) {
        if (args.isEmpty() || args.first() != QLatin1String(command.name))
            continue;
        CommandLine line;
        QString error;
        if (!line.parse(args.mid(1), command.options, &error)) {
            std::fprintf(stderr, "textferry-phonesim %s: %s\n", command.name, qPrintable(error));
            return 2;
        }
        return command.run(line);
    }
    std::fputs(kUsage, stderr);
    return 2;
}
