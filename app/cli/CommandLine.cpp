#include "app/cli/CommandLine.h"

#include "app/cli/CommandLineImport.h"
#include "app/cli/CommandLineIo.h"
#include "app/cli/ConsoleProgress.h"
#include "base/AppDirs.h"
#include "base/AppInfo.h"
#include "base/LogHandler.h"
#include "export/ExportMessagesXml.h"
#include "export/ExportSMSThread.h"
#include "export/ExportTarget.h"
#include "store/IOS6MessageDb.h"
#include "store/LocalDbCatalogue.h"
#include "store/MessageLists.h"
#include "store/MessageOrder.h"
#include "store/MessageSet.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <exception>
#include <optional>

namespace CommandLine {
namespace {

const QString kImport = QStringLiteral("import-xml");
const QString kExport = QStringLiteral("export");

// The long options of the command line; any of them first sends the
// arguments to the command line, even before the command.
const char* const kOwnOptions[] = {"help",    "help-all", "version", "into",
                                   "country", "format",   "out",     "descending"};

// Whether the export would write anything: an XML backup holds only ordinary messages.
bool writesAnything(const QList<_MsgMessage*>& list, unsigned format)
{
    if (format != ExportTarget::Xml)
        return !list.isEmpty();
    return std::any_of(list.cbegin(), list.cend(),
                       [](const _MsgMessage* m) { return m && ExportMessagesXml::writes(*m); });
}

int exportDb(const QCommandLineParser& parser, const QStringList& args)
{
    if (args.size() != 2 || !parser.isSet(QStringLiteral("format")) || !parser.isSet(QStringLiteral("out")))
        return fail(translated("usage: textferry export NAME --format xml|txt|doc|csv|html|pdf --out PATH "
                               "[--descending]"),
                    Usage);
    const QString out = parser.value(QStringLiteral("out"));
    if (out.trimmed().isEmpty())
        return fail(translated("--out needs a path."), Usage);
    const std::optional<ExportTarget> target =
        ExportTarget::forFormatName(out, parser.value(QStringLiteral("format")));
    if (!target)
        return fail(translated("Unknown format %1: use xml, txt, doc, csv, html or pdf.")
                        .arg(parser.value(QStringLiteral("format"))),
                    Usage);
    const QString name = LocalDbCatalogue::find(args.at(1));
    if (name.isEmpty())
        return fail(translated("There is no local database named %1.").arg(args.at(1)));
    const QString folder = LocalDbCatalogue::folderOf(name);
    MessageSet set;
    try {
        const QSharedPointer<IOS6MessageDb> db = LocalDbCatalogue::database(name);
        db->readMessages(set, 0);
        db->close();
    } catch (const std::exception& e) {
        return fail(namingPath(QString::fromUtf8(e.what()), folder));
    }
    // The order of the window's "All": the store's stable sort, newest first when descending.
    QList<_MsgMessage*> list = allMessages(set);
    const bool ascending = !parser.isSet(QStringLiteral("descending"));
    if (ascending)
        sortMessagesAscending(list);
    else
        sortMessagesDescending(list);
    if (!writesAnything(list, target->format))
        return fail(translated("Nothing to export; no file was written."));
    const QString path = QDir::toNativeSeparators(QFileInfo(target->path).absoluteFilePath());
    ConsoleProgress progress;
    ExportSMSThread job(list, target->path, target->format, ascending, &progress, nullptr);
    if (!progress.run(job))
        return fail(progress.error.isEmpty() ? translated("The export to %1 was stopped.").arg(path)
                                             : namingPath(progress.error, path));
    print(stdout, progress.success);
    print(stdout, path);
    return Success;
}

QString usageText()
{
    return translated("usage: textferry import-xml FILE --into NAME [--country CODE]\n"
                      "       textferry export NAME --format xml|txt|doc|csv|html|pdf --out PATH "
                      "[--descending]\n"
                      "       textferry --help | --version");
}

void describe(QCommandLineParser& parser)
{
    parser.setApplicationDescription(
        translated("Moves text messages between Android phones and this computer.\n"
                   "Without arguments, the window opens. Commands:\n"
                   "  import-xml FILE --into NAME [--country CODE]\n"
                   "        Imports a phone's XML backup file into the local database NAME\n"
                   "        (created when new, else merged). Numbers are normalised with\n"
                   "        the database's country; a database without one takes CODE, a\n"
                   "        region code such as US or DE, else the country most of the\n"
                   "        file's international numbers belong to, else the system's.\n"
                   "  export NAME --format F --out PATH [--descending]\n"
                   "        Exports the local database NAME, oldest first (newest first\n"
                   "        with --descending); F is xml, txt, doc, csv, html or pdf.\n"
                   "        A database without messages is not exported: \"Nothing to\n"
                   "        export; no file was written.\" and exit status 1.\n"
                   "Exit status: 0 success, 1 failure, 2 wrong arguments."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("command"),
                                 translated("import-xml or export, and its arguments."),
                                 QStringLiteral("[command] [arguments]"));
    parser.addOption({QStringLiteral("into"), translated("The local database an import goes into."),
                      QStringLiteral("NAME")});
    parser.addOption({QStringLiteral("country"),
                      translated("The country of a new database's numbers: a region code such as US or DE."),
                      QStringLiteral("CODE")});
    parser.addOption({QStringLiteral("format"),
                      translated("The export format: xml, txt, doc, csv, html or pdf."),
                      QStringLiteral("F")});
    parser.addOption({QStringLiteral("out"),
                      translated("The file (or, for pdf and html, the folder) to write."),
                      QStringLiteral("PATH")});
    parser.addOption({QStringLiteral("descending"), translated("Newest messages first.")});
}

int usageError(const QString& error)
{
    print(stderr, QStringLiteral("textferry: ") + error);
    print(stderr, usageText());
    return Usage;
}

} // namespace
} // namespace CommandLine

bool CommandLine::isRequested(int argc, char* argv[])
{
    if (argc < 2)
        return false;
    const QString first = QString::fromLocal8Bit(argv[1]);
    if (!first.startsWith(QLatin1Char('-')))
        return true; // a command, or a mistyped one
    if (first == QLatin1String("-h") || first == QLatin1String("-v") || first == QLatin1String("-?"))
        return true;
    if (!first.startsWith(QLatin1String("--")))
        return false;
    const QString name = first.mid(2).section(QLatin1Char('='), 0, 0);
    return std::any_of(std::begin(kOwnOptions), std::end(kOwnOptions),
                       [&name](const char* option) { return name == QLatin1String(option); });
}

int CommandLine::run(QCoreApplication& app)
{
    QCoreApplication::setApplicationName(QStringLiteral("textferry"));
    QCoreApplication::setApplicationVersion(QString::fromLatin1(AppInfo::kVersion));
    QCommandLineParser parser;
    describe(parser);
    if (!parser.parse(app.arguments()))
        return usageError(parser.errorText());
    if (parser.isSet(QStringLiteral("version")))
        parser.showVersion(); // exits
    if (parser.isSet(QStringLiteral("help")) || parser.isSet(QStringLiteral("help-all")))
        parser.showHelp(); // exits
    const QStringList args = parser.positionalArguments();
    if (args.isEmpty())
        return usageError(translated("No command given."));
    if (args.first() != kImport && args.first() != kExport)
        return usageError(translated("Unknown command %1.").arg(args.first()));
    // Messages of the program's own log go to its log files, as from the window.
    installLogHandler(appDataDir().absoluteFilePath(QStringLiteral("qlogs")), 10);
    if (args.first() == kImport)
        return importXml(parser, args);
    return exportDb(parser, args);
}
