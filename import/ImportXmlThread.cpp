#include "import/ImportXmlThread.h"

#include "import/XmlReadAhead.h"
#include "jobs/JobProgress.h"
#include "store/SimpleSms.h"

#include <QCoreApplication>
#include <QFile>

#include <exception>
#include <stdexcept>

namespace {

QString translated(const char* text)
{
    return QCoreApplication::translate("ImportXmlThread", text);
}

int percentOf(qint64 done, qint64 total)
{
    return total > 0 ? int(qMin<qint64>(100, done * 100 / total)) : 0;
}

} // namespace

ImportXmlThread::ImportXmlThread(const QString& filePath, const QDir& databaseFolder, JobProgress* form,
                                 QObject* parent)
    : QThread(parent), filePath(filePath), form(form), exporter(databaseFolder, QString())
{}

QString ImportXmlThread::summary(const Counts& counts)
{
    return translated("Imported %1 SMS. Already in the database: %2. MMS skipped: %3. Unusable elements "
                      "skipped: %4.")
        .arg(counts.imported)
        .arg(counts.alreadyPresent)
        .arg(counts.mmsSkipped)
        .arg(counts.malformedSkipped);
}

void ImportXmlThread::run()
{
    form->postUpdateProgress(translated("Importing the XML backup..."), 0, QString());
    try {
        importAll();
    } catch (int) {
        // Cancelled: nothing of this import stays, and nothing is shown.
        exporter.db.close();
    } catch (const std::exception& e) {
        // Closing without commit rolls the open transaction back.
        exporter.db.close();
        form->postErrorOccurred(QString::fromUtf8(e.what()));
    }
}

void ImportXmlThread::importAll()
{
    QFile file(filePath);
    if (!file.open(QIODevice::ReadOnly))
        throw std::runtime_error(
            translated("Can't open %1: %2").arg(filePath, file.errorString()).toStdString());
    const qint64 size = file.size();
    exporter.begin();
    const QString status = translated("Importing the XML backup...");
    int read = 0;
    XmlReadAhead reader(&file, exporter.db.countries().currentCountry());
    XmlReadAhead::Batch batch;
    while (reader.nextBatch(batch)) {
        for (const std::unique_ptr<SimpleSms>& sms : batch) {
            if (form->isCanceled())
                throw -1;
            exporter.write(sms->message(), sms->logicHashText());
            ++read;
        }
        // Once a batch: a few hundred messages.
        form->postUpdateProgress(status, percentOf(reader.bytesRead(), size),
                                 translated("SMS: %1").arg(read));
    }
    if (!reader.errorString().isEmpty())
        throw std::runtime_error(reader.errorString().toStdString());
    form->postUpdateProgress(status, 100, translated("SMS: %1").arg(read));
    // A cancel pressed during the last message must not be followed by a commit.
    if (form->isCanceled())
        throw -1;
    result.imported = exporter.insertedMessages();
    result.alreadyPresent = read - result.imported;
    result.mmsSkipped = reader.mmsSkipped();
    result.malformedSkipped = reader.malformedSkipped();
    exporter.end();
    form->postSucceed(summary(result));
}
