#pragma once

#include "export/MessagePageWriter.h"
#include "store/AbsFormatExport.h"
#include "store/MsgMessage.h"

#include <QPrinter>
#include <QString>

// One PDF document of messages on A4 pages, laid out like the printed pages.
// The document is started when the exporter is made; end() completes it.
class ExportSMSPdf : public AbsFormatExport<_MsgMessage>
{
public:
    explicit ExportSMSPdf(const QString& path);

    // Throws std::runtime_error when the document could not be started
    // (for example when the path is not writable).
    void begin() override;
    void write(const _MsgMessage& message) override;
    // Completes the document. Throws std::runtime_error, naming the file and
    // the reason (a full disk, say), when it was never started or the file is
    // not complete afterwards.
    void end() override;

    // True when the file at path is a whole PDF document: it ends with its
    // trailer, and the cross-reference table the trailer points to lies
    // inside the file. A document cut short by a failed write is not.
    static bool isCompleteDocument(const QString& path);

private:
    QString path;
    QPrinter printer;
    MessagePageWriter writer;
    int startError = 0; // errno when the document could not be started
};
