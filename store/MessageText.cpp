#include "store/MessageText.h"

#include "store/MsgAttachment.h"
#include "store/MsgChat.h"
#include "store/MsgHandle.h"
#include "store/MsgMessage.h"
#include "store/StoredDate.h"

#include <QLocale>
#include <QStringList>

#include <algorithm>
#include <iterator>
#include <utility>

namespace {

constexpr QChar kObjectReplacement(0xFFFC);

// The emoji code units of the first pass besides the private-use range
// U+E000..U+E537, in ascending order.
constexpr char16_t kEmojiUnits[] = {0x203C, 0x2049, 0x2139, 0x2194, 0x2195, 0x21A9, 0x21AA, 0x231A, 0x231B,
                                    0x23EB, 0x23EC, 0x23F0, 0x23F3, 0x24C2, 0x25AA, 0x25AB, 0x25FB, 0x25FC,
                                    0x25FD, 0x25FE, 0x2611, 0x267B, 0x2693, 0x26AA, 0x26AB, 0x26C5, 0x26D4,
                                    0x2705, 0x2709, 0x270F, 0x2712, 0x2714, 0x2744, 0x2747, 0x274E, 0x2795,
                                    0x2796, 0x2797, 0x27B0, 0x2934, 0x2935, 0x2B1B, 0x2B1C, 0x3030};

bool isEmojiUnit(char16_t unit)
{
    if (unit < kEmojiUnits[0])
        return false; // the common case: Latin, Greek, Cyrillic, Arabic, ...
    if (unit >= 0xE000)
        return unit <= 0xE537;
    if (unit > kEmojiUnits[std::size(kEmojiUnits) - 1])
        return false; // CJK and the surrogates
    return std::binary_search(std::begin(kEmojiUnits), std::end(kEmojiUnits), unit);
}

bool isEmojiHighSurrogate(char16_t unit)
{
    return unit == 0xD83C || unit == 0xD83D;
}

QString upperHex(qint64 value)
{
    return QString::number(value, 16).toUpper();
}

// Pass one: every single emoji unit becomes replacement(its value).
QString replaceEmojiUnits(const QString& text, const std::function<QString(const QString&)>& replacement)
{
    const QChar* units = text.constData();
    const qsizetype size = text.size();
    qsizetype next = 0;
    while (next < size && !isEmojiUnit(units[next].unicode()))
        ++next;
    if (next == size)
        return text;
    QString result;
    result.reserve(size + 16);
    qsizetype copied = 0;
    for (; next < size; ++next) {
        if (!isEmojiUnit(units[next].unicode()))
            continue;
        result.append(QStringView(units + copied, next - copied));
        result.append(replacement(upperHex(units[next].unicode())));
        copied = next + 1;
    }
    result.append(QStringView(units + copied, size - copied));
    return result;
}

// Pass two: U+D83C or U+D83D with whatever unit follows becomes
// replacement(the pair's code point). A lone one at the very end stays.
QString replaceEmojiPairs(const QString& text, const std::function<QString(const QString&)>& replacement)
{
    const QChar* units = text.constData();
    const qsizetype size = text.size();
    qsizetype next = 0;
    while (next + 1 < size && !isEmojiHighSurrogate(units[next].unicode()))
        ++next;
    if (next + 1 >= size)
        return text;
    QString result;
    result.reserve(size + 16);
    qsizetype copied = 0;
    while (next + 1 < size) {
        if (!isEmojiHighSurrogate(units[next].unicode())) {
            ++next;
            continue;
        }
        const int high = units[next].unicode();
        const int low = units[next + 1].unicode();
        const int codePoint = (((high - 0xD800) << 10) | (low - 0xDC00)) + 0x10000;
        result.append(QStringView(units + copied, next - copied));
        result.append(replacement(upperHex(codePoint)));
        next += 2;
        copied = next;
    }
    result.append(QStringView(units + copied, size - copied));
    return result;
}

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

QString emojiMarker(const QString&)
{
    return QStringLiteral("[EMOJI]");
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

QString replaceEmoji(const QString& text, const std::function<QString(const QString&)>& replacement)
{
    return replaceEmojiPairs(replaceEmojiUnits(text, replacement), replacement);
}

QString displayText(const _MsgMessage& message)
{
    static const std::function<QString(const QString&)> marker = emojiMarker;
    return replaceEmoji(bodyText(message), marker);
}
