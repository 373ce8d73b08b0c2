#pragma once

#include <QString>
#include <QThread>

#include <memory>

class JobProgress;
class QLockFile;
class Sqlite3DB;
class ExportMessagesDb;

// Converts the local databases of the earlier single-file format (plain
// files directly in the local-databases folder) into local databases of the
// current format, one folder each under the old file's name, at start-up,
// under a progress dialog that cannot be cancelled. While a file converts it
// carries a working name; it is deleted once its messages are committed, so
// an interrupted or failed run is taken up again at the next start without
// duplicates. Only plain files are converted (and renamed); a folder or a
// link found under an old file's name is left alone.
//
// One program at a time converts: it holds the lock file "convert.lock" in
// the data folder while it does (lockConversion()).
class LocalDbUpdateThread : public QThread
{
public:
    LocalDbUpdateThread(JobProgress* form, QObject* parent);

    // Whether the folder holds files of the earlier format.
    static bool hasOldDatabases();
    // The conversion lock, held until the result is destroyed; null at once
    // when another running program holds it. A lock left by a program that
    // ended without releasing it is taken over.
    static std::unique_ptr<QLockFile> lockConversion();
    // The files converted by the run.
    int converted() const { return convertedFiles; }

protected:
    void run() override;

private:
    enum class Outcome
    {
        Converted,
        LeftAlone, // not a plain file (any more)
        Failed,    // the job ended, with its error posted
    };
    Outcome convertFile(const QString& fileName);
    // The file's working name; its name is cut to leave room for the ending.
    static QString workingPath(const QString& path);
    void copyMessages(Sqlite3DB& old, ExportMessagesDb& exporter);
    void removeLeftovers();

    JobProgress* form;
    int convertedFiles = 0;
};
