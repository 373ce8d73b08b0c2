#include "store/MessageText.h"

#include "store/MsgAttachment.h"
#include "store/MsgChat.h"
#include "store/MsgHandle.h"
#include "store/MsgMessage.h"
#include "store/StoredDate.h"

#include <QLocale>
#include <QStringList>

#include <utility>

namespace {

constexpr QChar kObjectReplacement(0xFFFC);

QString attachmentTag(const _MsgAttachment& attachment)
{
    const QString& mime = attachment.mime_type;
    if (mime.startsWith(QLatin1String("image/"), Qt::CaseInsensitive))
        return QStringLiteral(" [IMAGE]");
    if (mime.startsWith(QLatin1String("video/"), Qt::CaseInsensitive))
        return QStringLiteral(" [VIDEO]");
    if (mime.startsWith(QLatin1String("audio/"), Qt::CaseInsensitive))
        return QStringLiteral(" [AUDIO]");
    if (mime.compare(QLatin1String("text/x-vCard"), Qt::CaseInsensitive) == 0 ||
        mime.compare(QLatin1String("text/vcard"), Qt::CaseInsensitive) == 0)
        return QStringLiteral(" [VCARD]");
    return QStringLiteral(" [ATTA]");
}

QString ordinaryBodyText(const _MsgMessage& message)
{
    QString text = message.text;
    if (message.attachments.isEmpty() && !text.contains(kObjectReplacement))
        return std::move(text).trimmed();
    text.remove(kObjectReplacement);
    for (const _MsgAttachment* attachment : message.attachments) {
        if (attachment)
            text += attachmentTag(*attachment);
    }
    return text.trimmed();
}

QString nameOrYou(const _MsgHandle* handle)
{
    return handle ? handleLabel(*handle, false) : QStringLiteral("You");
}

QString systemBodyText(const _MsgMessage& message)
{
    const QString date =
        QLocale::c().toString(storedDateToLocal(message.date), QStringLiteral("dd MMM yyyy h:m AP"));
    const QString sender = nameOrYou(message.handle);
    switch (message.item_type) {
    case 1:
        return QStringLiteral("%1 Added %2 to the conversation.\n%3")
            .arg(sender, nameOrYou(message.otherHandle), date);
    case 2:
        return QStringLiteral("%1 named the conversation \"%2\".\n%3").arg(sender, message.group_title(), date);
    case 3:
        return QStringLiteral("%1 left the conversation.\n%2").arg(sender, date);
    case 4:
        return QStringLiteral("%1 %2 sharing location with %3.\n%4")
            .arg(sender, message.share_status() != 0 ? QStringLiteral("stopped") : QStringLiteral("started"),
                 nameOrYou(message.otherHandle), date);
    default:
        return QStringLiteral("System Information.\n%1").arg(date);
    }
}

} // namespace

bool isGroupChat(const _MsgChat& chat)
{
    return chat.participants.size() > 1;
}

QString handleLabel(const _MsgHandle& handle, bool withNumber)
{
    if (handle._ct_name.isEmpty())
        return handle.id;
    if (withNumber)
        return QStringLiteral("%1 (%2)").arg(handle._ct_name, handle.id);
    return handle._ct_name;
}

QString chatTitle(const _MsgChat& chat, bool withNumbers)
{
    if (!chat.display_name.isEmpty())
        return chat.display_name;
    if (chat.participants.isEmpty())
        return QStringLiteral("Unknown");
    QStringList labels;
    labels.reserve(chat.participants.size());
    for (const _MsgHandle* handle : chat.participants) {
        if (handle)
            labels.append(handleLabel(*handle, withNumbers));
    }
    return labels.join(QLatin1String(", "));
}

QString messageChatLabel(const _MsgMessage& message)
{
    if (!message.chat)
        return QStringLiteral("unknown");
    QString label = chatTitle(*message.chat, true);
    if (isGroupChat(*message.chat) && message.handle) {
        const _MsgHandle& sender = *message.handle;
        label += QLatin1String(" (") + (sender._ct_name.isEmpty() ? sender.id : sender._ct_name) +
                 QLatin1Char(')');
    }
    return label;
}

QString bodyText(const _MsgMessage& message)
{
    return message.item_type == 0 ? ordinaryBodyText(message) : systemBodyText(message);
}

// The message's own characters, emoji included: every target (list,
// transcript, page, file) can carry them, and an export is a copy of the
// user's messages.
QString displayText(const _MsgMessage& message)
{
    return bodyText(message);
}
