#pragma once

#include "store/AbsFormatExport.h"
#include "store/IOS6MessageDb.h"
#include "store/MsgMessage.h"

// An exporter whose destination is a message database folder: every message
// with its conversation, correspondents and attachments, without duplicates,
// in one transaction from begin() to end().
class ExportMessagesDb : public AbsFormatExport<_MsgMessage>
{
public:
    ExportMessagesDb(const QDir& folder, const QString& mcc);

    void begin() override;
    void write(const _MsgMessage& message) override;
    void end() override;

    IOS6MessageDb db;
};
