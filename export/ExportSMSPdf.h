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
    // Completes the document. Throws std::runtime_error when it was never
    // started or the file is missing afterwards.
    void end() override;

private:
    [[noreturn]] void throwNotWritten() const;

    QString path;
    QPrinter printer;
    MessagePageWriter writer;
};
