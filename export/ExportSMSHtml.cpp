#include "export/ExportSMSHtml.h"

#include "store/MessageHtmlEscape.h"
#include "store/MessageText.h"
#include "store/StoredDate.h"

#include <QLocale>
#include <QObject>

namespace {
QString pageStart()
{
    return QStringLiteral("<!DOCTYPE html PUBLIC \"-//W3C//DTD XHTML 1.0 Transitional//EN\" "
                          "\"http://www.w3.org/TR/xhtml1/DTD/xhtml1-transitional.dtd\">"
                          "<html xmlns=\"http://www.w3.org/1999/xhtml\">"
                          "<head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\" />"
                          "<title>%1</title></head><body>")
        .arg(escapeMessageHtml(QObject::tr("Textferry")));
}

QString whoText(const _MsgMessage& message, const QString& chatTitleHtml)
{
    return (message.is_from_me ? QStringLiteral("To: ") : QStringLiteral("From: ")) + chatTitleHtml;
}

// One message; the values are filled in one pass, so a "%" in a name or a
// text is never taken for a place marker.
QString messageBlock(const _MsgMessage& message, const QLocale& locale, const QString& chatTitleHtml)
{
    const QString date = locale.toString(storedDateToLocal(message.date), QLocale::ShortFormat);
    return QStringLiteral("<a name=\"sms%1\"></a><div style=\"color:%2;font-size:16px;\"><div>%3</div>"
                          "<div>%4</div></div><div style=\"font-size:14px;\">%5</div><br/><br/>\n")
        .arg(QString::number(message.rowid),
             message.is_from_me ? QStringLiteral("#008040") : QStringLiteral("#0000FF"), date,
             whoText(message, chatTitleHtml), escapeMessageHtml(displayText(message)));
}
} // namespace

ExportSMSHtml::ExportSMSHtml(const QString& path) : file(path), locale(QLocale::system()) {}

void ExportSMSHtml::begin()
{
    file.open();
    file.write(pageStart());
}

void ExportSMSHtml::write(const _MsgMessage& message)
{
    // A file's messages mostly share one conversation: its title is made once.
    if (message.chat != titledChat) { // no conversation: the empty title it starts with
        titledChat = message.chat;
        chatTitleHtml = message.chat ? escapeMessageHtml(chatTitle(*message.chat, true)) : QString();
    }
    file.write(messageBlock(message, locale, chatTitleHtml));
}

void ExportSMSHtml::end()
{
    file.write(QStringLiteral("</body></html>"));
    file.close();
}
