#pragma once

#include "store/ExportMessagesDb.h"

#include <QDir>
#include <QString>
#include <QThread>

class JobProgress;

// Imports a phone's XML backup file into a local database folder (merging
// with what it holds, creating it when new) in one transaction, under a
// progress dialog: duplicates are dropped by content as in a backup, and
// addresses normalised with the database's country. A cancel or an error
// leaves the database as it was.
//
// The caller closes its own connection to the target before running the
// job (runJob in jobs/JobRunner.h) and reloads the target after success.
class ImportXmlThread : public QThread
{
public:
    ImportXmlThread(const QString& filePath, const QDir& databaseFolder, JobProgress* form, QObject* parent);

    struct Counts
    {
        int imported = 0;
        int alreadyPresent = 0;
        int mmsSkipped = 0;
        int malformedSkipped = 0;
    };
    // What a successful run did.
    Counts counts() const { return result; }

    // The success text for the counts.
    static QString summary(const Counts& counts);

protected:
    void run() override;

private:
    void importAll();

    QString filePath;
    JobProgress* form;
    ExportMessagesDb exporter;
    Counts result;
};
