#include "export/ExportMessagesCsv.h"

#include "store/MessageText.h"
#include "store/MsgChat.h"
#include "store/MsgHandle.h"
#include "store/StoredDate.h"

namespace {
struct Correspondent
{
    QString person;
    QString number;
};

// A group shows its identifier in both columns; one correspondent its name
// and address; no conversation or no participant leaves both empty.
Correspondent correspondentOf(const _MsgMessage& message)
{
    const _MsgChat* chat = message.chat;
    if (!chat)
        return {};
    if (isGroupChat(*chat))
        return {chat->chat_identifier, chat->chat_identifier};
    const _MsgHandle* participant = chat->participants.isEmpty() ? nullptr : chat->participants.first();
    if (!participant)
        return {};
    return {participant->_ct_name, participant->id};
}

// The value as one CSV field.
QString quoted(const QString& value)
{
    QString field;
    field.reserve(value.size() + 2);
    bool marked = false;
    for (const QChar c : value) {
        if (c == QLatin1Char('"')) {
            field += QLatin1String("\"\"");
            marked = true;
            continue;
        }
        if (c == QLatin1Char(',') || c == QLatin1Char('\n') || c == QLatin1Char('\r'))
            marked = true;
        field += c;
    }
    if (!marked)
        return field;
    return QLatin1Char('"') + field + QLatin1Char('"');
}
} // namespace

ExportMessagesCsv::ExportMessagesCsv(const QString& path) : file(path) {}

void ExportMessagesCsv::begin()
{
    file.open();
    file.writeLine(QStringLiteral("date,send,person,number,content"));
}

void ExportMessagesCsv::write(const _MsgMessage& message)
{
    const Correspondent who = correspondentOf(message);
    const QString date = storedDateToLocal(message.date).toString(QStringLiteral("yyyy-MM-dd hh:mm:ss"));
    const QLatin1Char comma(',');
    file.writeLine(date + comma + (message.is_from_me ? QLatin1Char('1') : QLatin1Char('0')) + comma +
                   quoted(who.person) + comma + quoted(who.number) + comma + quoted(displayText(message)));
}

void ExportMessagesCsv::end()
{
    file.close();
}
