#include "app/cli/CommandLine.h"

#include "app/base/AppDirs.h"
#include "app/base/AppInfo.h"
#include "app/base/LogHandler.h"
#include "app/cli/ConsoleProgress.h"
#include "export/ExportSMSThread.h"
#include "export/ExportTarget.h"
#include "import/ImportXmlThread.h"
#include "jobs/LocalDbSelForm.h"
#include "store/IOS6MessageDb.h"
#include "store/MessageSet.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <cstdio>
#include <exception>

namespace {

enum ExitStatus
{
    Success = 0,
    Failure = 1,
    Usage = 2,
};

const QString kImport = QStringLiteral("import-xml");
const QString kExport = QStringLiteral("export");

QString translated(const char* text)
{
    return QCoreApplication::translate("CommandLine", text);
}

void print(std::FILE* stream, const QString& text)
{
    std::fputs(qPrintable(text + QLatin1Char('\n')), stream);
    std::fflush(stream);
}

int fail(const QString& error, int status = Failure)
{
    print(stderr, QStringLiteral("textferry: ") + error);
    return status;
}

// The folder of the local database of that name: exactly that name, else
// one that differs only in letter case; empty when there is none.
QString findLocalDbFolder(const QString& name)
{
    const QDir folder = localDbDir();
    const QStringList names = folder.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
    if (names.contains(name))
        return folder.absoluteFilePath(name);
    for (const QString& other : names) {
        if (other.compare(name, Qt::CaseInsensitive) == 0)
            return folder.absoluteFilePath(other);
    }
    return QString();
}

// The save dialog's filter of a format name ("csv" is "CSV Files(*.csv)").
QString filterOfFormat(const QString& format)
{
    const QString pattern = QStringLiteral("(*.") + format.toLower() + QLatin1Char(')');
    for (const QString& filter : ExportTarget::filters()) {
        if (filter.endsWith(pattern))
            return filter;
    }
    return QString();
}

int importXml(const QCommandLineParser& parser, const QStringList& args)
{
    if (args.size() != 2 || !parser.isSet(QStringLiteral("into")))
        return fail(translated("usage: textferry import-xml FILE --into NAME"), Usage);
    const QString file = args.at(1);
    const QString name = parser.value(QStringLiteral("into"));
    if (!QFileInfo(file).isFile())
        return fail(translated("Can't find the file %1.").arg(file));
    if (!LocalDbSelForm::isValidDatabaseName(name))
        return fail(translated("\"%1\" can't be the name of a local database.").arg(name), Usage);
    QString folder = findLocalDbFolder(name);
    if (folder.isEmpty()) {
        folder = localDbDir().absoluteFilePath(name);
        if (!QDir().mkpath(folder))
            return fail(translated("Can't create the database folder %1.").arg(folder));
    }
    ConsoleProgress progress;
    ImportXmlThread job(file, QDir(folder), &progress, nullptr);
    if (!progress.run(job))
        return fail(progress.error.isEmpty() ? translated("The import was stopped.") : progress.error);
    print(stdout, progress.success);
    return Success;
}

int exportDb(const QCommandLineParser& parser, const QStringList& args)
{
    if (args.size() != 2 || !parser.isSet(QStringLiteral("format")) || !parser.isSet(QStringLiteral("out")))
        return fail(translated("usage: textferry export NAME --format xml|txt|doc|csv|html|pdf --out PATH "
                               "[--descending]"),
                    Usage);
    const QString filter = filterOfFormat(parser.value(QStringLiteral("format")));
    if (filter.isEmpty())
        return fail(translated("Unknown format %1: use xml, txt, doc, csv, html or pdf.")
                        .arg(parser.value(QStringLiteral("format"))),
                    Usage);
    const QString folder = findLocalDbFolder(args.at(1));
    if (folder.isEmpty())
        return fail(translated("There is no local database named %1.").arg(args.at(1)));
    MessageSet set;
    try {
        IOS6MessageDb db{QDir(folder), QString()};
        db.readMessages(set, 0);
        db.close();
    } catch (const std::exception& e) {
        return fail(QString::fromUtf8(e.what()));
    }
    const ExportTarget target = ExportTarget::forChoice(parser.value(QStringLiteral("out")), filter);
    ConsoleProgress progress;
    ExportSMSThread job(set.messages.values(), target.path, target.format,
                        !parser.isSet(QStringLiteral("descending")), &progress, nullptr);
    if (!progress.run(job))
        return fail(progress.error.isEmpty() ? translated("The export was stopped.") : progress.error);
    print(stdout, progress.success);
    print(stdout, QDir::toNativeSeparators(QFileInfo(target.path).absoluteFilePath()));
    return Success;
}

} // namespace

bool CommandLine::isRequested(int argc, char* argv[])
{
    if (argc < 2)
        return false;
    const QString first = QString::fromLocal8Bit(argv[1]);
    return first == kImport || first == kExport || first == QLatin1String("--help") ||
           first == QLatin1String("-h") || first == QLatin1String("--help-all") ||
           first == QLatin1String("--version") || first == QLatin1String("-v");
}

int CommandLine::run(QCoreApplication& app)
{
    QCoreApplication::setApplicationName(QStringLiteral("textferry"));
    QCoreApplication::setApplicationVersion(QString::fromLatin1(AppInfo::kVersion));
    QCommandLineParser parser;
    parser.setApplicationDescription(
        translated("Moves text messages between Android phones and this computer.\n"
                   "Without a command, the window opens. Commands:\n"
                   "  import-xml FILE --into NAME   Imports a phone's XML backup file into the local\n"
                   "                                database NAME (created when new, else merged).\n"
                   "  export NAME --format F --out PATH\n"
                   "                                Exports the local database NAME; F is xml, txt,\n"
                   "                                doc, csv, html or pdf."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("command"),
                                 translated("import-xml or export, and its arguments."),
                                 QStringLiteral("[command] [arguments]"));
    parser.addOption({QStringLiteral("into"), translated("The local database an import goes into."),
                      QStringLiteral("NAME")});
    parser.addOption({QStringLiteral("format"),
                      translated("The export format: xml, txt, doc, csv, html or pdf."),
                      QStringLiteral("F")});
    parser.addOption({QStringLiteral("out"),
                      translated("The file (or, for pdf and html, the folder) to write."),
                      QStringLiteral("PATH")});
    parser.addOption({QStringLiteral("descending"), translated("Newest messages first.")});
    if (!parser.parse(app.arguments()))
        return fail(parser.errorText(), Usage);
    if (parser.isSet(QStringLiteral("version")))
        parser.showVersion(); // exits
    const QStringList args = parser.positionalArguments();
    if (parser.isSet(QStringLiteral("help")) || args.isEmpty())
        parser.showHelp(); // exits
    // Messages of the program's own log go to its log files, as from the window.
    installLogHandler(appDataDir().absoluteFilePath(QStringLiteral("qlogs")), 10);
    if (args.first() == kImport)
        return importXml(parser, args);
    if (args.first() == kExport)
        return exportDb(parser, args);
    return fail(translated("Unknown command %1; see textferry --help.").arg(args.first()), Usage);
}
