#pragma once

#include "export/ExportTextFile.h"
#include "store/AbsFormatExport.h"
#include "store/MsgMessage.h"

#include <QString>

// Comma-separated values with the header date,send,person,number,content,
// one line per message. The person, number and content fields are enclosed
// in double quotes when they hold a comma, a line feed, a carriage return or
// a double quote (written twice). A lone carriage return counts as a line
// break in spreadsheet programs, so it is quoted like a line feed.
class ExportMessagesCsv : public AbsFormatExport<_MsgMessage>
{
public:
    explicit ExportMessagesCsv(const QString& path);

    void begin() override;
    void write(const _MsgMessage& message) override;
    void end() override;

private:
    ExportTextFile file;
};
