#pragma once

#include "android/AdbLineStream.h"
#include "country/CountryInfo.h"

#include <QHash>
#include <QThread>
#include <QVector>

#include <functional>
#include <map>
#include <memory>
#include <optional>

class ContentQueryRows;
class ExportMessagesDb;
class JobProgress;
struct AndroidDevice;
struct ContentRow;

// Loads every message of a phone read over the adb shell (no companion app)
// into the phone's cache: the message ids first (the count), the contact
// names, then one row per message, hex-encoded where the provider allows it.
// The messages are written in one transaction into a new folder beside the
// cache, which replaces the cache only once everything arrived; a cancel, an
// error or a phone unplugged midway leaves the previous cache as it was.
// Runs under a progress dialog (runJob); the record is not owned and must
// outlive the job.
class AndroidShellLoadSMSThread : public QThread
{
public:
    AndroidShellLoadSMSThread(AndroidDevice* device, JobProgress* form, QObject* parent);
    ~AndroidShellLoadSMSThread() override;

    // How long the phone may send nothing before the load gives up (default kAdbStallLimitMs).
    void setStallLimitMs(int ms) { stallLimitMs = ms; }

protected:
    void run() override;

private:
    // How one streamed query ended.
    struct QueryEnd
    {
        int rows = 0;
        bool providerError = false; // the provider refused the query
        QString errorText;          // the provider's or adb's complaint, empty when none
    };

    void load();
    void startAhead(const QString& uri, const QString& projection);
    QVector<qint64> readIds(const QString& uri, const QString& what);
    QHash<QString, QString> readContactNames();
    QHash<QString, QString> contactNamesFrom(const QString& projection, const QVector<qint64>& anchors);
    void readMessages(const QVector<qint64>& ids);
    QueryEnd streamMessages(const QString& projection, const QVector<qint64>& ids, bool anchored);
    void writeMessage(const ContentRow& row, const QVector<qint64>& ids);
    QueryEnd runQuery(const QString& uri, const QString& projection, ContentQueryRows& rows,
                      const std::function<void(const ContentRow&)>& onRow);
    void checkQueryEnd(const QueryEnd& end, const QString& what) const;
    void prepareLoadingFolder();
    void replaceCache();
    void closeUp();
    // What the job posts for an exception that ended the load; nothing for a stopped adb.
    std::optional<QString> errorText(const std::exception& e) const;
    bool cancelled() const;
    QString phoneName() const;

    AndroidDevice* device;
    JobProgress* form;
    int stallLimitMs = kAdbStallLimitMs;
    QString cacheFolder;
    QString loadingFolder;
    std::unique_ptr<ExportMessagesDb> writer;
    CountryInfo country;           // of the phone's MCC, for its addresses
    QHash<QString, QString> names; // contact names by normalised number
    // Queries started before their turn, so that the phone prepares their rows
    // while earlier ones are read (their output waits in the pipe), by uri and projection.
    std::map<QString, std::unique_ptr<AdbLineStream>> startedAhead;
    int written = 0;
};
