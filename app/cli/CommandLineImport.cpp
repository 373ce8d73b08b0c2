#include "app/cli/CommandLineImport.h"

#include "app/cli/CommandLineIo.h"
#include "app/cli/ConsoleProgress.h"
#include "base/AppDirs.h"
#include "country/CountryLibDb.h"
#include "import/ImportCountry.h"
#include "import/ImportXmlThread.h"
#include "store/LocalDbCatalogue.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>

#include <exception>
#include <stdexcept>

namespace CommandLine {
namespace {

// A country's name and region code, "Germany (DE)".
QString countryLabel(const CountryInfo& country)
{
    return QStringLiteral("%1 (%2)").arg(country.n, country.sn);
}

CountryInfo countryOfCode(const QString& code)
{
    bool known = false;
    const CountryInfo country = CountryLibDb(QString()).findBySn(code, &known);
    return known ? country : CountryInfo();
}

// The country a new database takes when --country names none: the one of the
// file's international numbers, else the system's; said on standard error.
// Throws when the file can't be read.
QString countryOfFile(const QString& file)
{
    ConsoleProgress progress;
    XmlCountryGuessThread guess(file, &progress, nullptr);
    if (!progress.run(guess))
        throw std::runtime_error(
            (progress.error.isEmpty() ? translated("The import was stopped.") : progress.error)
                .toStdString());
    if (!guess.country().sn.isEmpty()) {
        print(stderr, translated("Country of the numbers, from the file's international numbers: %1.")
                          .arg(countryLabel(guess.country())));
        return guess.country().sn;
    }
    const QString system = systemLocaleCountry();
    if (system.isEmpty()) {
        print(stderr, translated("No international numbers in the file and no country in the system's "
                                 "locale: numbers are kept as written. --country CODE gives one."));
        return QString();
    }
    print(stderr, translated("No international numbers in the file: numbers are read as in the system's "
                             "country, %1.")
                      .arg(countryLabel(countryOfCode(system))));
    return system;
}

// The country the import normalises with: the database's own, else --country, else the file's.
QString importCountry(const QString& folder, const QString& requested, const QString& file)
{
    const QString stored = folder.isEmpty() ? QString() : storedDatabaseCountry(QDir(folder));
    if (!stored.isEmpty()) {
        if (!requested.isEmpty() && requested != stored)
            print(stderr, translated("The local database keeps its country, %1; --country %2 is not used.")
                              .arg(countryLabel(countryOfCode(stored)), requested));
        return stored;
    }
    return requested.isEmpty() ? countryOfFile(file) : requested;
}

} // namespace

int importXml(const QCommandLineParser& parser, const QStringList& args)
{
    if (args.size() != 2 || !parser.isSet(QStringLiteral("into")))
        return fail(translated("usage: textferry import-xml FILE --into NAME [--country CODE]"), Usage);
    const QString file = args.at(1);
    const QString name = parser.value(QStringLiteral("into"));
    if (!LocalDbCatalogue::isUsableName(name))
        return fail(translated("\"%1\" can't be the name of a local database (none of \\ / : * ? \" < > |, "
                               "no leading dot).")
                        .arg(name),
                    Usage);
    QString requested;
    if (parser.isSet(QStringLiteral("country"))) {
        requested = countryOfCode(parser.value(QStringLiteral("country"))).sn;
        if (requested.isEmpty())
            return fail(translated("Unknown country %1: use a region code such as US or DE.")
                            .arg(parser.value(QStringLiteral("country"))),
                        Usage);
    }
    if (!QFileInfo(file).isFile())
        return fail(translated("Can't find the file %1.").arg(file));
    const QString existing = LocalDbCatalogue::find(name);
    const bool isNew = existing.isEmpty();
    const QString folder = LocalDbCatalogue::folderOf(isNew ? name : existing);
    QString country;
    try {
        country = importCountry(isNew ? QString() : folder, requested, file);
    } catch (const std::exception& e) {
        return fail(namingPath(QString::fromUtf8(e.what()), isNew ? file : folder));
    }
    bool created = false;
    try {
        created = isNew && LocalDbCatalogue::create(name);
    } catch (const std::exception& e) {
        return fail(QString::fromUtf8(e.what()));
    }
    ConsoleProgress progress;
    ImportXmlThread job(file, QDir(folder), country, &progress, nullptr);
    if (!progress.run(job)) {
        // A database made for this import goes again; an existing one is as it was.
        if (created)
            removeDirRecursively(folder);
        return fail(progress.error.isEmpty() ? translated("The import of %1 was stopped.").arg(file)
                                             : progress.error);
    }
    print(stdout, progress.success);
    return Success;
}

} // namespace CommandLine
