// bench_export [messages=100000]: exporting generated messages through the
// real export job to CSV, text, HTML and PDF (one file per conversation);
// messages per second for each, and PDF pages per second.

#include "bench/BenchSupport.h"
#include "bench/ProgressSink.h"

#include "export/ExportSMSThread.h"
#include "export/ExportTarget.h"
#include "store/MessageSet.h"
#include "tools/gen_messages/MessageGenerator.h"

#include <QApplication>
#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>

#include <cstdio>

using namespace BenchSupport;

namespace {

// Pages of the PDF files below folder ("/Type /Page" objects, not "/Pages").
qint64 pdfPages(const QString& folder)
{
    static const QRegularExpression page(QStringLiteral("/Type\\s*/Page(?!s)"));
    qint64 pages = 0;
    QDirIterator it(folder, {QStringLiteral("*.pdf")}, QDir::Files);
    while (it.hasNext()) {
        QFile file(it.next());
        if (file.open(QIODevice::ReadOnly))
            pages += QString::fromLatin1(file.readAll()).count(page);
    }
    return pages;
}

} // namespace

int main(int argc, char* argv[])
{
    const auto home = useTemporaryHomeOffscreen();
    QApplication app(argc, argv); // the PDF writer lays out text with the application's fonts
    const int requested = messageCountArgument(app.arguments(), 100000);
    MessageGeneratorOptions options;
    options.messageCount = requested;
    options.conversationCount = std::max(1, requested / 50);
    MessageSet set;
    const QList<_MsgMessage*> messages = MessageGenerator(options).generate(set);
    const double n = double(messages.size());

    printTitle(QStringLiteral("bench_export: %1 messages in %2 conversations")
                   .arg(messages.size())
                   .arg(options.conversationCount));
    printRow(QString(), QStringLiteral("time"), QStringLiteral("rate"), QStringLiteral("pages"));
    const struct
    {
        const char* label;
        unsigned format;
        const char* name;
    } formats[] = {{"CSV", ExportTarget::Csv, "sms.csv"},
                   {"text", ExportTarget::Text, "sms.txt"},
                   {"HTML (one file per conversation)", ExportTarget::Html, "sms-html"},
                   {"PDF (one file per conversation)", ExportTarget::Pdf, "sms-pdf"}};
    for (const auto& format : formats) {
        const QString path = home->filePath(QLatin1String(format.name));
        ProgressSink sink;
        ExportSMSThread job(messages, path, format.format, true, &sink, nullptr);
        sink.moveToThread(&job);
        const double time = secondsOf([&] {
            job.start();
            job.wait();
        });
        if (!sink.succeeded) {
            std::fprintf(stderr, "the %s export failed: %s\n", format.label, qPrintable(sink.error));
            return 1;
        }
        if (format.format != ExportTarget::Pdf) {
            printRow(QLatin1String(format.label), seconds(time), perSecond(n, time));
            continue;
        }
        const qint64 pages = pdfPages(path);
        printRow(QLatin1String(format.label), seconds(time), perSecond(n, time), QString::number(pages));
        printRow(QStringLiteral("PDF pages"), QString(),
                 QStringLiteral("%1 pages/s").arg(qint64(pages / time)));
        if (!qEnvironmentVariableIsEmpty("BENCH_KEEP_PDF"))
            QFile::copy(QDirIterator(path, {QStringLiteral("*.pdf")}, QDir::Files).next(),
                        qEnvironmentVariable("BENCH_KEEP_PDF"));
    }
    return 0;
}
