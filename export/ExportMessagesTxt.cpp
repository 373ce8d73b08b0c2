#include "export/ExportMessagesTxt.h"

#include "store/MessageText.h"
#include "store/MsgChat.h"
#include "store/StoredDate.h"

#include <QLocale>

namespace {
constexpr int kDateWidth = 30;
constexpr int kFlagWidth = 6;
constexpr int kNameWidth = 40;

// Left-aligned in a field of width; a longer value is kept whole.
QString field(const QString& value, int width)
{
    return value.leftJustified(width, QLatin1Char(' '));
}

QString flagOf(const _MsgMessage& message)
{
    if (message.item_type != 0)
        return QString();
    return message.is_from_me ? QStringLiteral("To") : QStringLiteral("From");
}

// The text on one line: carriage returns dropped, line feeds as spaces.
QString oneLine(QString text)
{
    text.remove(QLatin1Char('\r'));
    text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return text;
}
} // namespace

ExportMessagesTxt::ExportMessagesTxt(const QString& path) : file(path) {}

void ExportMessagesTxt::begin()
{
    file.open();
    file.writeLine(field(QStringLiteral("Date"), kDateWidth) + field(QStringLiteral("Flag"), kFlagWidth) +
                   field(QStringLiteral("Name"), kNameWidth) + QStringLiteral("Message"));
}

void ExportMessagesTxt::write(const _MsgMessage& message)
{
    const QString date = QLocale::system().toString(storedDateToLocal(message.date), QLocale::ShortFormat);
    const QString name = message.chat ? chatTitle(*message.chat, false) : QStringLiteral("Unknown");
    file.writeLine(field(date, kDateWidth) + field(flagOf(message), kFlagWidth) + field(name, kNameWidth) +
                   oneLine(displayText(message)));
}

void ExportMessagesTxt::end()
{
    file.close();
}
