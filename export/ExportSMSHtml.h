#pragma once

#include "export/ExportTextFile.h"
#include "store/AbsFormatExport.h"
#include "store/MsgMessage.h"

#include <QLocale>
#include <QString>

// One XHTML 1.0 page of messages: per message a coloured header (date, To: or
// From: and the conversation) and the text, each block on a line of its own.
class ExportSMSHtml : public AbsFormatExport<_MsgMessage>
{
public:
    explicit ExportSMSHtml(const QString& path);

    void begin() override;
    void write(const _MsgMessage& message) override;
    void end() override;

private:
    ExportTextFile file;
    QLocale locale;
    const _MsgChat* titledChat = nullptr;
    QString chatTitleHtml;
};
