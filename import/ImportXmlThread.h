#pragma once

#include "store/ExportMessagesDb.h"

#include <QDir>
#include <QString>
#include <QThread>

class JobProgress;

// Imports a phone's XML backup file into a local database folder (merging
// with what it holds, creating it when new) in one transaction, under a
// progress dialog: duplicates are dropped by content as in a backup, and
// addresses normalised with the country given by its region code, which the
// correspondents keep (empty: numbers only cleaned of punctuation). A cancel
// or an error leaves the database as it was; the cancel is honoured within a
// step of the parser, also while a large <mms> is skipped, and the progress
// follows the bytes read.
//
// The caller closes its own connection to the target before running the
// job (runJob in jobs/JobRunner.h) and reloads the target after success.
class ImportXmlThread : public QThread
{
public:
    ImportXmlThread(const QString& filePath, const QDir& databaseFolder, const QString& country,
                    JobProgress* form, QObject* parent);

    struct Counts
    {
        int imported = 0;
        int alreadyPresent = 0;
        int mmsSkipped = 0;
        int malformedSkipped = 0;
        int datesInSeconds = 0;
    };
    // What a successful run did.
    Counts counts() const { return result; }

    // The success text for the counts.
    static QString summary(const Counts& counts);

protected:
    void run() override;

private:
    void importAll();
    [[noreturn]] void failReading(const QString& reason) const;

    QString filePath;
    QString country;
    JobProgress* form;
    ExportMessagesDb exporter;
    Counts result;
};
