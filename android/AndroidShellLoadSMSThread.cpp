#include "android/AndroidShellLoadSMSThread.h"

#include "android/AndroidDevice.h"
#include "android/ContentQueryRows.h"
#include "android/PhoneCacheFolder.h"
#include "android/PhoneSms.h"
#include "android/ShellRoute.h"
#include "base/AppDirs.h"
#include "jobcore/JobBody.h"
#include "jobcore/JobProgress.h"
#include "store/ExportMessagesDb.h"
#include "store/SimpleSms.h"
#include "store/StoredDate.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLocale>

namespace {

const QByteArray kProviderError = QByteArrayLiteral("Error while accessing provider:");
// Lines of a provider's complaint (a stack trace follows the first) kept for the error text.
constexpr int kComplaintLines = 3;

QString translated(const char* text)
{
    return QCoreApplication::translate("AndroidShellLoadSMSThread", text);
}

QString count(qint64 n)
{
    return QLocale(QLocale::English, QLocale::UnitedStates).toString(n);
}

QString firstLines(const QString& text, int lines)
{
    return text.section(QLatin1Char('\n'), 0, lines - 1).trimmed();
}

[[noreturn]] void failWith(const QString& text)
{
    throw std::runtime_error(text.toUtf8().toStdString());
}

} // namespace

AndroidShellLoadSMSThread::AndroidShellLoadSMSThread(AndroidDevice* device, JobProgress* form,
                                                     QObject* parent)
    : QThread(parent), device(device), form(form)
{}

AndroidShellLoadSMSThread::~AndroidShellLoadSMSThread() = default;

bool AndroidShellLoadSMSThread::cancelled() const
{
    return form->isCanceled();
}

QString AndroidShellLoadSMSThread::phoneName() const
{
    const QString name = device->displayName();
    return name.isEmpty() ? device->serial : name;
}

void AndroidShellLoadSMSThread::run()
{
    written = 0;
    // The same status as the companion's load.
    form->postUpdateProgress(QCoreApplication::translate("AndroidLoadSMSThread", "IDS_ANDROID_LOADING_SMS"),
                             0, QString());
    // Cancelled or failed: the previous cache stays.
    runJobBody(
        form, [this] { load(); }, [this] { closeUp(); },
        [this](const std::exception& e) { return errorText(e); });
}

// adb stopped (by the cancel) ends the load without a word; a phone that
// went silent is named with what had arrived.
std::optional<QString> AndroidShellLoadSMSThread::errorText(const std::exception& e) const
{
    if (dynamic_cast<const AdbStopped*>(&e))
        return std::nullopt;
    if (dynamic_cast<const AdbStalled*>(&e))
        return translated("The phone %1 stopped answering after %2 messages. Its previous messages are kept.")
            .arg(phoneName(), count(written));
    return QString::fromUtf8(e.what());
}

void AndroidShellLoadSMSThread::load()
{
    prepareLoadingFolder();
    writer->begin();
    country = writer->country();
    // The later queries start at once: the phone prepares their rows while the
    // count is read (their output waits in the pipe until their turn).
    startAhead(QLatin1String(ShellRoute::kSmsUri), QLatin1String(ShellRoute::kSmsHexProjection));
    startAhead(QLatin1String(ShellRoute::kContactsUri), QLatin1String(ShellRoute::kContactHexProjection));
    const QVector<qint64> ids =
        readIds(QLatin1String(ShellRoute::kSmsUri), translated("the message count query"));
    names = readContactNames();
    readMessages(ids);
    startedAhead.clear();
    // A cancel that came while the last rows arrived still wins.
    form->throwIfCanceled();
    writer->end();
    replaceCache();
    form->postSucceed(QString());
}

void AndroidShellLoadSMSThread::startAhead(const QString& uri, const QString& projection)
{
    auto stream = std::make_unique<AdbLineStream>(
        ShellRoute::contentQueryArgs(device->serial, uri, projection), [this] { return cancelled(); },
        stallLimitMs);
    stream->start();
    startedAhead[uri + QLatin1Char(' ') + projection] = std::move(stream);
}

void AndroidShellLoadSMSThread::prepareLoadingFolder()
{
    cacheFolder = device->cacheDir();
    loadingFolder = cacheFolder + QStringLiteral(".__loading");
    if (!isOwnCacheFolder(cacheFolder) ||
        (QFileInfo::exists(loadingFolder) && !isOwnCacheFolder(loadingFolder))) {
        failWith(translated("The phone's cache folder %1 is not a folder of Textferry's phone caches; "
                            "nothing was loaded.")
                     .arg(QDir::toNativeSeparators(cacheFolder)));
    }
    // What a load that was cut off left behind.
    if (QFileInfo::exists(loadingFolder))
        removeDirRecursively(loadingFolder);
    if (!QDir().mkpath(loadingFolder))
        failWith(QStringLiteral("can not create %1.").arg(QDir::toNativeSeparators(loadingFolder)));
    writer = std::make_unique<ExportMessagesDb>(QDir(loadingFolder), device->mmc);
}

QVector<qint64> AndroidShellLoadSMSThread::readIds(const QString& uri, const QString& what)
{
    QVector<qint64> ids;
    const QString projection = QLatin1String(ShellRoute::kIdProjection);
    ContentQueryRows rows(what, projection);
    const QueryEnd end = runQuery(uri, projection, rows, [&ids, &what](const ContentRow& row) {
        bool ok = false;
        ids.append(row.number(0, &ok));
        if (!ok)
            failWith(translated("The phone's answer to %1 holds an id that is no number: %2")
                         .arg(what, row.text(0)));
    });
    checkQueryEnd(end, what);
    return ids;
}

void AndroidShellLoadSMSThread::readMessages(const QVector<qint64>& ids)
{
    if (ids.isEmpty()) {
        qInfo("%s has no messages", qUtf8Printable(phoneName()));
        return;
    }
    QueryEnd end = streamMessages(QLatin1String(ShellRoute::kSmsHexProjection), ids, false);
    if (end.providerError && end.rows == 0) {
        qInfo("%s refused hex() in its message query (%s); reading the text as stored, records anchored at "
              "the counted ids",
              qUtf8Printable(phoneName()), qUtf8Printable(firstLines(end.errorText, 1)));
        end = streamMessages(QLatin1String(ShellRoute::kSmsRawProjection), ids, true);
    } else {
        qInfo("%s: messages read one line each, hex-encoded", qUtf8Printable(phoneName()));
    }
    if (end.rows < ids.size()) {
        if (end.providerError)
            failWith(
                translated("The phone %1 did not list its messages: %2").arg(phoneName(), end.errorText));
        failWith(translated("The phone %1 stopped sending after %2 of %3 messages (unplugged?). Its previous "
                            "messages are kept.")
                     .arg(phoneName(), count(end.rows), count(ids.size())));
    }
    if (!end.errorText.isEmpty())
        qWarning("%s: every message arrived, yet: %s", qUtf8Printable(phoneName()),
                 qUtf8Printable(end.errorText));
}

AndroidShellLoadSMSThread::QueryEnd AndroidShellLoadSMSThread::streamMessages(const QString& projection,
                                                                              const QVector<qint64>& ids,
                                                                              bool anchored)
{
    ContentQueryRows rows(translated("the message query"), projection);
    if (anchored)
        rows.anchorAt(ids);
    return runQuery(QLatin1String(ShellRoute::kSmsUri), projection, rows,
                    [this, &ids](const ContentRow& row) { writeMessage(row, ids); });
}

void AndroidShellLoadSMSThread::writeMessage(const ContentRow& row, const QVector<qint64>& ids)
{
    bool ok = false;
    if (row.index >= ids.size() || row.number(0, &ok) != ids.at(row.index) || !ok) {
        failWith(
            translated("The messages on the phone %1 changed while they were read. Its previous messages "
                       "are kept; please try again.")
                .arg(phoneName()));
    }
    const QString address = normalizePhoneNumber(country, row.text(4));
    SimpleSms sms;
    sms.fill({address, names.value(address), row.text(6), row.text(5), storedDateFromPhoneTime(row.number(1)),
              isOwnersSmsType(row.number(2))});
    writer->write(sms);
    ++written;
    form->postItemProgress(QString(), written, int(ids.size()), QStringLiteral("sms: %1/%2"));
}

QHash<QString, QString> AndroidShellLoadSMSThread::readContactNames()
{
    try {
        QHash<QString, QString> found =
            contactNamesFrom(QLatin1String(ShellRoute::kContactHexProjection), {});
        qInfo("%s: %lld contact numbers", qUtf8Printable(phoneName()), qint64(found.size()));
        return found;
    } catch (int) {
        throw;
    } catch (const AdbStopped&) {
        throw;
    } catch (const AdbStalled&) {
        throw;
    } catch (const std::exception& e) {
        qWarning("%s: messages load without contact names: %s", qUtf8Printable(phoneName()), e.what());
        return {};
    }
}

QHash<QString, QString> AndroidShellLoadSMSThread::contactNamesFrom(const QString& projection,
                                                                    const QVector<qint64>& anchors)
{
    const bool raw = projection == QLatin1String(ShellRoute::kContactRawProjection);
    QHash<QString, QString> found;
    ContentQueryRows rows(translated("the contacts query"), projection);
    if (raw)
        rows.anchorAt(anchors);
    const QueryEnd end = runQuery(QLatin1String(ShellRoute::kContactsUri), projection, rows,
                                  [this, &found](const ContentRow& row) {
                                      if (row.values.at(1).null || row.text(2).isEmpty())
                                          return;
                                      const QString number = normalizePhoneNumber(country, row.text(1));
                                      if (!found.contains(number))
                                          found.insert(number, row.text(2));
                                  });
    if (!raw && end.providerError && end.rows == 0) {
        qInfo("%s refused hex() in its contacts query; reading the names as stored",
              qUtf8Printable(phoneName()));
        const QVector<qint64> ids =
            readIds(QLatin1String(ShellRoute::kContactsUri), translated("the contact count query"));
        return contactNamesFrom(QLatin1String(ShellRoute::kContactRawProjection), ids);
    }
    checkQueryEnd(end, translated("the contacts query"));
    return found;
}

AndroidShellLoadSMSThread::QueryEnd
AndroidShellLoadSMSThread::runQuery(const QString& uri, const QString& projection, ContentQueryRows& rows,
                                    const std::function<void(const ContentRow&)>& onRow)
{
    std::unique_ptr<AdbLineStream> started;
    const auto ahead = startedAhead.find(uri + QLatin1Char(' ') + projection);
    if (ahead != startedAhead.end()) {
        started = std::move(ahead->second);
        startedAhead.erase(ahead);
    } else {
        started = std::make_unique<AdbLineStream>(
            ShellRoute::contentQueryArgs(device->serial, uri, projection), [this] { return cancelled(); },
            stallLimitMs);
        started->start();
    }
    AdbLineStream& stream = *started;
    QueryEnd end;
    QStringList complaint; // a provider error that arrived on standard output
    QByteArray line;
    ContentRow row;
    const auto handOut = [&] {
        while (rows.takeRow(&row)) {
            form->throwIfCanceled();
            onRow(row);
        }
    };
    while (stream.readLine(&line)) {
        if (!complaint.isEmpty() || (rows.rowCount() == 0 && line.startsWith(kProviderError))) {
            if (complaint.size() < kComplaintLines)
                complaint << QString::fromUtf8(line).trimmed();
            continue;
        }
        rows.addLine(line);
        handOut();
    }
    rows.finish();
    handOut();
    end.rows = rows.rowCount();
    QString error = stream.errorText();
    if (!complaint.isEmpty())
        error = complaint.join(QLatin1Char('\n')) + (error.isEmpty() ? QString() : QLatin1Char('\n') + error);
    end.providerError = error.contains(QLatin1String(kProviderError));
    if (stream.exitCode() != 0 && error.isEmpty())
        error = QStringLiteral("adb ended with exit code %1.").arg(stream.exitCode());
    // Warnings on standard error of a query that succeeded (a linker's notice) are only logged.
    if (end.providerError || stream.exitCode() != 0)
        end.errorText = firstLines(error, kComplaintLines);
    else if (!error.isEmpty())
        qWarning("%s: %s", qUtf8Printable(phoneName()), qUtf8Printable(error));
    return end;
}

void AndroidShellLoadSMSThread::checkQueryEnd(const QueryEnd& end, const QString& what) const
{
    if (!end.errorText.isEmpty())
        failWith(translated("The phone %1 did not answer %2: %3").arg(phoneName(), what, end.errorText));
}

void AndroidShellLoadSMSThread::replaceCache()
{
    QString error;
    if (!replaceCacheFolder(loadingFolder, cacheFolder, &error))
        failWith(error);
}

void AndroidShellLoadSMSThread::closeUp()
{
    startedAhead.clear(); // kills what still runs
    // Closing without end() drops the open transaction; the new folder goes, the old cache stays.
    if (writer)
        writer->abandon();
    writer.reset();
    if (!loadingFolder.isEmpty() && QFileInfo::exists(loadingFolder) && isOwnCacheFolder(loadingFolder))
        removeDirRecursively(loadingFolder);
}
