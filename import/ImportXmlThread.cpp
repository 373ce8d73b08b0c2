#include "import/ImportXmlThread.h"

#include "import/XmlReadAhead.h"
#include "jobcore/JobBody.h"
#include "jobcore/JobProgress.h"
#include "store/SimpleSms.h"

#include <QCoreApplication>
#include <QFile>

#include <chrono>
#include <stdexcept>

namespace {

// How long the job waits for the reader before it looks at the cancel flag
// and the progress again.
constexpr std::chrono::milliseconds kPatience(100);

QString translated(const char* text)
{
    return QCoreApplication::translate("ImportXmlThread", text);
}

} // namespace

ImportXmlThread::ImportXmlThread(const QString& filePath, const QDir& databaseFolder, const QString& country,
                                 JobProgress* form, QObject* parent)
    : QThread(parent), filePath(filePath), country(country), form(form), exporter(databaseFolder, QString())
{}

QString ImportXmlThread::summary(const Counts& counts)
{
    QString text = translated("Imported %1 SMS. Already in the database: %2. MMS skipped: %3. Unusable "
                              "elements skipped: %4.")
                       .arg(counts.imported)
                       .arg(counts.alreadyPresent)
                       .arg(counts.mmsSkipped)
                       .arg(counts.malformedSkipped);
    if (counts.datesInSeconds > 0)
        text += QLatin1Char(' ') + translated("Dates read as seconds: %1.").arg(counts.datesInSeconds);
    return text;
}

void ImportXmlThread::run()
{
    form->postUpdateProgress(translated("Importing the XML backup..."), 0, QString());
    // Cancelled or failed: nothing of this import stays.
    runJobBody(form, [this] { importAll(); }, [this] { exporter.abandon(); });
}

void ImportXmlThread::failReading(const QString& reason) const
{
    throw std::runtime_error(
        translated("Can't import %1: %2").arg(QDir::toNativeSeparators(filePath), reason).toStdString());
}

void ImportXmlThread::importAll()
{
    QFile file(filePath);
    if (!file.open(QIODevice::ReadOnly))
        failReading(file.errorString());
    const qint64 size = file.size();
    exporter.begin();
    const CountryInfo countryInfo =
        country.isEmpty() ? CountryInfo() : exporter.countryOfRegion(country);
    const QString status = translated("Importing the XML backup...");
    int read = 0;
    XmlReadAhead reader(&file, countryInfo);
    XmlReadAhead::Batch batch;
    for (;;) {
        const XmlReadAhead::Next next = reader.nextBatch(batch, kPatience);
        form->throwIfCanceled(); // the reader stops when it goes
        if (next == XmlReadAhead::Next::End)
            break;
        if (next == XmlReadAhead::Next::Batch) {
            for (const std::unique_ptr<SimpleSms>& sms : batch) {
                form->throwIfCanceled();
                exporter.write(*sms);
                ++read;
            }
        }
        // Once a batch (a few hundred messages), or while the reader skips what is no SMS.
        form->postUpdateProgress(status, jobBytePercent(reader.bytesRead(), size),
                                 translated("SMS: %1").arg(read));
    }
    if (!reader.errorString().isEmpty())
        failReading(reader.errorString());
    form->postUpdateProgress(status, 100, translated("SMS: %1").arg(read));
    // A cancel pressed during the last message must not be followed by a commit.
    form->throwIfCanceled();
    result.imported = exporter.insertedMessages();
    result.alreadyPresent = read - result.imported;
    result.mmsSkipped = reader.mmsSkipped();
    result.malformedSkipped = reader.malformedSkipped();
    result.datesInSeconds = reader.datesInSeconds();
    exporter.end();
    form->postSucceed(summary(result));
}
