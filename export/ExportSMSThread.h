#pragma once

#include "export/ExportOutput.h"
#include "store/AbsFormatExport.h"
#include "store/MsgMessage.h"

#include <QList>
#include <QString>
#include <QThread>

#include <memory>

class JobProgress;
struct _MsgChat;

// Exports messages under a progress dialog: to one text, CSV or XML backup
// file, or to a folder of one PDF or HTML file per conversation. Files
// become visible only when the whole export succeeded; a cancel or an error
// removes what this export wrote and created, and nothing else. The records
// are not owned: their MessageSet must outlive the job.
class ExportSMSThread : public QThread
{
public:
    ExportSMSThread(const QList<_MsgMessage*>& messages, const QString& path, unsigned format, bool ascending,
                    JobProgress* form, QObject* parent);
    ~ExportSMSThread() override;

protected:
    void run() override;

private:
    using Exporter = AbsFormatExport<_MsgMessage>;

    void exportAll();
    // The exporter for a message: the one file, or its conversation's file.
    void ensureExporter(const _MsgMessage& message);
    void openConversationFile(const _MsgChat* chat);
    void prepareHtmlFolder();
    void endExporter();

    QList<_MsgMessage*> messages;
    QString path;
    unsigned format;
    bool ascending;
    JobProgress* form;
    qint64 backupCount = 0; // the messages that go into an XML backup
    ExportOutput output;
    std::unique_ptr<Exporter> exporter;
    const _MsgChat* currentChat = nullptr;
    bool haveConversation = false;
    bool supportFilesCopied = false;
};
