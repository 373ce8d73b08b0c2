#include "export/ExportSMSThread.h"

#include "base/AppDirs.h"
#include "export/ExportFileError.h"
#include "export/ExportMessagesCsv.h"
#include "export/ExportMessagesTxt.h"
#include "export/ExportMessagesXml.h"
#include "export/ExportOrder.h"
#include "export/ExportSMSHtml.h"
#include "export/ExportSMSPdf.h"
#include "export/ExportTarget.h"
#include "jobcore/JobBody.h"
#include "jobcore/JobProgress.h"
#include "store/MessageText.h"
#include "store/MsgChat.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <cerrno>
#include <stdexcept>

namespace {

QString translated(const char* text)
{
    return QCoreApplication::translate("ExportSMSThread", text);
}

QString identifierOf(const _MsgChat* chat)
{
    return chat ? chat->chat_identifier : QString();
}

// The file of a conversation: its identifier for a group, its title for one
// correspondent, cleaned as every name made from outside text; the output
// cuts it further to make room for its endings.
QString conversationFileName(const _MsgChat* chat, const QString& extension)
{
    if (!chat)
        return QStringLiteral("unknown-chat") + extension;
    QString base = safeFileName(isGroupChat(*chat) ? chat->chat_identifier : chatTitle(*chat, true));
    if (base.isEmpty())
        base = QStringLiteral("unknown-chat");
    return base + extension;
}

} // namespace

ExportSMSThread::ExportSMSThread(const QList<_MsgMessage*>& messages, const QString& path, unsigned format,
                                 bool ascending, JobProgress* form, QObject* parent)
    : QThread(parent), messages(messages), path(path), format(format), ascending(ascending), form(form)
{}

ExportSMSThread::~ExportSMSThread() = default;

void ExportSMSThread::run()
{
    form->postUpdateProgress(translated("IDS_EXPORTING_MESSAGES_TO_FILE"), -1, QString());
    runJobBody(
        form, [this] { exportAll(); },
        [this] {
            exporter.reset();
            output.discard(); // cancelled or failed: nothing of this export stays
        },
        // Named before the staged files go: the error names the files the user asked for.
        [this](const std::exception& e) { return output.withFinalNames(QString::fromUtf8(e.what())); });
}

void ExportSMSThread::exportAll()
{
    if (format > ExportTarget::Xml)
        throw std::runtime_error("not support export format.");
    // The backup states its number of messages before the first one.
    const bool backup = format == ExportTarget::Xml;
    if (backup)
        backupCount = std::count_if(messages.cbegin(), messages.cend(),
                                    [](const _MsgMessage* m) { return m && ExportMessagesXml::writes(*m); });
    if (format == ExportTarget::Pdf || format == ExportTarget::Html) {
        errno = 0;
        if (!output.makeFolder(path))
            throw exportFileError("can not create", path, errno, QStringLiteral("it is not a folder"));
        sortGrouped(messages, ascending);
    }
    const int n = int(messages.size());
    const QString counter = translated("Messages: %1/%2");
    int i = 0;
    for (const _MsgMessage* message : std::as_const(messages)) {
        form->throwIfCanceled();
        ++i;
        form->postItemProgress(QString(), i, n, counter);
        if (!message || (backup && !ExportMessagesXml::writes(*message)))
            continue;
        ensureExporter(*message);
        exporter->write(*message);
    }
    endExporter();
    // A cancel pressed during the last message is not followed by the files appearing.
    form->throwIfCanceled();
    output.commit();
    form->postSucceed(translated("IDS_SUC_EXPORT_%1_MMS").arg(backup ? backupCount : qint64(i)));
}

void ExportSMSThread::ensureExporter(const _MsgMessage& message)
{
    if (format == ExportTarget::Text || format == ExportTarget::Csv || format == ExportTarget::Xml) {
        if (exporter)
            return;
        const QString file = output.stage(path);
        if (format == ExportTarget::Text)
            exporter = std::make_unique<ExportMessagesTxt>(file);
        else if (format == ExportTarget::Csv)
            exporter = std::make_unique<ExportMessagesCsv>(file);
        else
            exporter = std::make_unique<ExportMessagesXml>(file, backupCount);
        exporter->begin();
        return;
    }
    const bool sameConversation =
        exporter && haveConversation &&
        identifierOf(message.chat).compare(identifierOf(currentChat), Qt::CaseInsensitive) == 0;
    if (sameConversation)
        return;
    endExporter();
    openConversationFile(message.chat);
}

void ExportSMSThread::openConversationFile(const _MsgChat* chat)
{
    currentChat = chat;
    haveConversation = true;
    const bool pdf = format == ExportTarget::Pdf;
    if (!pdf && !supportFilesCopied) {
        prepareHtmlFolder();
        supportFilesCopied = true;
    }
    const QString folder = QDir(path).absolutePath();
    const QString name = output.unusedName(
        folder, conversationFileName(chat, pdf ? QStringLiteral(".pdf") : QStringLiteral(".html")));
    const QString file = output.stage(QDir(folder).filePath(name));
    if (pdf)
        exporter = std::make_unique<ExportSMSPdf>(file);
    else
        exporter = std::make_unique<ExportSMSHtml>(file);
    exporter->begin();
}

// The support files of the HTML pages, from the folder "bubble" beside the
// program; failures to copy are of no consequence. The pages carry emoji as
// the characters themselves, so no emoji pictures go with them.
void ExportSMSThread::prepareHtmlFolder()
{
    const QDir source(QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("bubble")));
    const QDir target(path);
    const QString files = target.filePath(QStringLiteral("files"));
    if (!output.makeFolder(files))
        return;
    for (const QString& file : source.entryList(QDir::Files))
        output.copySupportFile(source.filePath(file), QDir(files).filePath(file));
}

void ExportSMSThread::endExporter()
{
    if (!exporter)
        return;
    exporter->end();
    exporter.reset();
}
