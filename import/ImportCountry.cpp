#include "import/ImportCountry.h"

#include "country/CountryLibDb.h"
#include "import/XmlCountryGuess.h"
#include "jobcore/JobBody.h"
#include "jobcore/JobProgress.h"
#include "store/IOS6MessageDb.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QLocale>

#include <stdexcept>

namespace {

constexpr qint64 kChunkSize = 1024 * 1024;

QString translated(const char* text)
{
    return QCoreApplication::translate("XmlCountryGuessThread", text);
}

} // namespace

XmlCountryGuessThread::XmlCountryGuessThread(const QString& filePath, JobProgress* form, QObject* parent)
    : QThread(parent), filePath(filePath), form(form)
{}

void XmlCountryGuessThread::run()
{
    form->postUpdateProgress(translated("Looking for the country of the numbers..."), 0, QString());
    runJobBody(form, [this] { guess(); });
}

void XmlCountryGuessThread::guess()
{
    QFile file(filePath);
    if (!file.open(QIODevice::ReadOnly))
        throw std::runtime_error(translated("Can't read %1: %2")
                                     .arg(QDir::toNativeSeparators(filePath), file.errorString())
                                     .toStdString());
    CountryLibDb countries{QString()};
    XmlCountryGuess scanner(countries.callingCodes());
    const qint64 size = file.size();
    qint64 done = 0;
    for (;;) {
        form->throwIfCanceled();
        const QByteArray chunk = file.read(kChunkSize);
        if (chunk.isEmpty())
            break;
        scanner.scan(chunk);
        done += chunk.size();
        form->postUpdateProgress(QString(), jobBytePercent(done, size), QString());
    }
    if (file.error() != QFile::NoError)
        throw std::runtime_error(translated("Can't read %1: %2")
                                     .arg(QDir::toNativeSeparators(filePath), file.errorString())
                                     .toStdString());
    scanner.finish();
    counted = scanner.internationalNumbers();
    guessed = scanner.region(countries.countriesOfCallingCode(scanner.callingCode()));
    countries.close();
    form->postSucceed(QString());
}

QString storedDatabaseCountry(const QDir& folder)
{
    IOS6MessageDb db(folder, QString());
    if (!QFileInfo(db.databasePath()).isFile())
        return QString();
    const QString country = db.mostCommonHandleCountry();
    db.close();
    return country;
}

QString systemLocaleCountry()
{
    const QString code = QLocale::territoryToCode(QLocale::system().territory());
    if (code.size() != 2)
        return QString();
    bool known = false;
    const CountryInfo country = CountryLibDb(QString()).findBySn(code, &known);
    return known ? country.sn : QString();
}
