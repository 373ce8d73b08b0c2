#include "export/ExportMessagesXml.h"

#include "export/ExportFileError.h"
#include "store/MessageText.h"
#include "store/MsgChat.h"
#include "store/MsgHandle.h"
#include "store/StoredDate.h"

#include <QDateTime>
#include <QLocale>

#include <cerrno>
#include <stdexcept>

namespace {
// Read at once after the failing call, before anything else can change errno.
std::runtime_error fileError(const QFile& file)
{
    return exportWriteError(file, errno);
}

// The correspondent of the message: its handle, or for a message without one
// the only participant of its conversation.
const _MsgHandle* correspondentOf(const _MsgMessage& message)
{
    if (message.handle)
        return message.handle;
    if (message.chat && message.chat->participants.size() == 1)
        return message.chat->participants.first();
    return nullptr;
}

// name="value" with a leading space, the value escaped.
QByteArray attribute(const char* name, const QByteArray& escapedValue)
{
    return ' ' + QByteArray(name) + "=\"" + escapedValue + '"';
}

QByteArray attribute(const char* name, const char* plain)
{
    return attribute(name, QByteArray(plain));
}
} // namespace

ExportMessagesXml::ExportMessagesXml(const QString& path, qint64 count, const QUuid& backupSet,
                                     qint64 backupDateMs)
    : file(path), count(count), backupSet(backupSet),
      backupDateMs(backupDateMs >= 0 ? backupDateMs : QDateTime::currentMSecsSinceEpoch())
{}

bool ExportMessagesXml::writes(const _MsgMessage& message)
{
    return message.item_type == 0;
}

QByteArray ExportMessagesXml::escaped(const QString& value)
{
    // Escaped as text first, then converted to UTF-8 in one go.
    QString out;
    out.reserve(value.size() + value.size() / 4);
    const qsizetype n = value.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = value.at(i);
        const char16_t unit = c.unicode();
        switch (unit) {
        case u'&':
            out += QLatin1String("&amp;");
            continue;
        case u'<':
            out += QLatin1String("&lt;");
            continue;
        case u'>':
            out += QLatin1String("&gt;");
            continue;
        case u'"':
            out += QLatin1String("&quot;");
            continue;
        case u'\'':
            out += QLatin1String("&apos;");
            continue;
        default:
            break;
        }
        if (unit == u'\t' || unit == u'\n' || unit == u'\r' || unit == 0x7F) {
            // As references, so that no reader turns them into spaces.
            out += QLatin1String("&#") + QString::number(unit) + QLatin1Char(';');
        } else if (c.isHighSurrogate() && i + 1 < n && value.at(i + 1).isLowSurrogate()) {
            out += c;
            out += value.at(++i);
        } else if (unit < 0x20 || c.isSurrogate() || unit == 0xFFFE || unit == 0xFFFF) {
            // XML 1.0 allows these neither raw nor as references.
            out += QChar(QChar::ReplacementCharacter);
        } else {
            out += c;
        }
    }
    return out.toUtf8();
}

// "MMM d, yyyy h:mm:ss AP" in the C locale, put together by hand: a format
// string parsed for every message was most of the export's time.
QString ExportMessagesXml::readableDate(int storedDate)
{
    static const char* const months[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                         "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    const QDateTime local = storedDateToLocal(storedDate);
    const QDate day = local.date();
    const QTime time = local.time();
    const int hour12 = time.hour() % 12 == 0 ? 12 : time.hour() % 12;
    const auto twoDigits = [](int value) {
        return QString::number(value).rightJustified(2, QLatin1Char('0'));
    };
    return QLatin1String(months[day.month() - 1]) + QLatin1Char(' ') + QString::number(day.day()) +
           QLatin1String(", ") + QString::number(day.year()).rightJustified(4, QLatin1Char('0')) +
           QLatin1Char(' ') + QString::number(hour12) + QLatin1Char(':') + twoDigits(time.minute()) +
           QLatin1Char(':') + twoDigits(time.second()) +
           (time.hour() < 12 ? QLatin1String(" AM") : QLatin1String(" PM"));
}

void ExportMessagesXml::begin()
{
    errno = 0;
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        throw fileError(file);
    put("<?xml version='1.0' encoding='UTF-8' standalone='yes' ?>\n<smses" +
        attribute("count", QByteArray::number(count)) +
        attribute("backup_set", backupSet.toByteArray(QUuid::WithoutBraces)) +
        attribute("backup_date", QByteArray::number(backupDateMs)) + attribute("type", "full") + ">\n");
}

void ExportMessagesXml::write(const _MsgMessage& message)
{
    if (!writes(message))
        return;
    const _MsgHandle* who = correspondentOf(message);
    QString address;
    if (who)
        address = who->id;
    else if (message.chat)
        address = message.chat->chat_identifier;
    const QString name = who && !who->_ct_name.isEmpty() ? who->_ct_name : QStringLiteral("(Unknown)");
    const qint64 dateMs = storedDateToPhoneTime(message.date);
    const QByteArray subject = message.subject().isEmpty() ? QByteArray("null") : escaped(message.subject());
    QString body = message.text;
    body.remove(QChar::ObjectReplacementCharacter); // the places of attachments, which do not go along

    QByteArray line = "  <sms";
    line.reserve(400 + body.size() * 2);
    line += attribute("protocol", "0") + attribute("address", escaped(address)) +
            attribute("date", QByteArray::number(dateMs)) +
            attribute("type", message.is_from_me ? "2" : "1") + attribute("subject", subject) +
            attribute("body", escaped(body)) + attribute("toa", "null") + attribute("sc_toa", "null") +
            attribute("service_center", "null") + attribute("read", "1") + attribute("status", "-1") +
            attribute("locked", "0") + attribute("date_sent", "0") + attribute("sub_id", "-1") +
            attribute("readable_date", escaped(readableDate(message.date))) +
            attribute("contact_name", escaped(name)) + " />\n";
    put(line);
    ++written;
}

void ExportMessagesXml::end()
{
    if (!file.isOpen())
        return;
    put("</smses>\n");
    errno = 0;
    if (!file.flush() || file.error() != QFile::NoError) {
        const std::runtime_error error = fileError(file);
        file.close();
        throw error;
    }
    file.close();
    if (written != count)
        throw std::runtime_error(QStringLiteral("%1 messages written where %2 were announced.")
                                     .arg(written)
                                     .arg(count)
                                     .toUtf8()
                                     .toStdString());
}

void ExportMessagesXml::put(const QByteArray& bytes)
{
    errno = 0;
    if (file.write(bytes) != bytes.size())
        throw fileError(file);
}
