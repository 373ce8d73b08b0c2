#pragma once

#include "store/AbsFormatExport.h"
#include "store/IOS6MessageDb.h"
#include "store/MsgMessage.h"

// An exporter whose destination is a message database folder: every message
// with its conversation, correspondents and attachments, without duplicates,
// in one transaction from begin() to end(). A job that stops early closes db
// without end(), which drops everything written since begin().
class ExportMessagesDb : public AbsFormatExport<_MsgMessage>
{
public:
    ExportMessagesDb(const QDir& folder, const QString& mcc);

    void begin() override;
    void write(const _MsgMessage& message) override;
    void end() override;

    IOS6MessageDb db;

private:
    // The handle's row id (found by address and service, or inserted), joined to the chat once.
    qint64 storeChatHandle(qint64 chatRowid, const _MsgHandle& handle);
    void storeAttachments(const _MsgMessage& message, qint64 messageRowid);
};
