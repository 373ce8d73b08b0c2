#pragma once

#include "export/ExportTextFile.h"
#include "store/AbsFormatExport.h"
#include "store/MsgMessage.h"

#include <QString>

// A column-aligned plain-text listing, one line per message: date, flag
// (To / From), conversation name and the text on one line.
class ExportMessagesTxt : public AbsFormatExport<_MsgMessage>
{
public:
    explicit ExportMessagesTxt(const QString& path);

    void begin() override;
    void write(const _MsgMessage& message) override;
    void end() override;

private:
    ExportTextFile file;
};
