#pragma once

#include <QString>
#include <QThread>

class JobProgress;
class Sqlite3DB;
class ExportMessagesDb;

// Converts the local databases of the earlier single-file format (plain
// files directly in the local-databases folder) into local databases of the
// current format, one folder each under the old file's name, at start-up,
// under a progress dialog that cannot be cancelled. While a file converts it
// carries a working name; it is deleted once its messages are committed, so
// an interrupted or failed run is taken up again at the next start without
// duplicates.
class LocalDbUpdateThread : public QThread
{
public:
    LocalDbUpdateThread(JobProgress* form, QObject* parent);

    // Whether the folder holds files of the earlier format.
    static bool hasOldDatabases();
    // The files converted by the run.
    int converted() const { return convertedFiles; }

protected:
    void run() override;

private:
    // False when the job ended (with its error posted).
    bool convertFile(const QString& fileName);
    void copyMessages(Sqlite3DB& old, ExportMessagesDb& exporter);
    void removeLeftovers();

    JobProgress* form;
    int convertedFiles = 0;
};
