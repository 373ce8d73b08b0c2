#include "store/SimpleSms.h"

#include "store/MessageHash.h"

bool isOwnersSmsType(qint64 type)
{
    return type >= 2 && type <= 6;
}

void SimpleSms::fill(const Fields& fields)
{
    handle.id = fields.address;
    handle._ct_name = fields.contactName;
    handle.country = fields.country;

    chat.guid = QStringLiteral("SMS;-;") + fields.address;
    chat.chat_identifier = fields.address;
    chat.participants.insert(fields.address, &handle);

    sms.text = fields.text;
    sms.set_subject(fields.subject);
    sms.set_service(QStringLiteral("SMS"));
    sms.set_account(QStringLiteral("e:"));
    sms.date = fields.date;
    sms.date_read = fields.date;
    sms.date_delivered = fields.date;
    sms.is_from_me = fields.fromMe ? 1 : 0;
    sms.set_is_finished(1);
    sms.set_is_prepared(1);
    sms.set_is_read(1);
    sms.set_is_sent(1);
    sms.set_was_data_detected(1);
    sms.handle = &handle;
    sms.chat = &chat;
    hash = logicHash(sms);
    sms.guid = guidFromBytes(hash.toUtf8());
}
