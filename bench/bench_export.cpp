// bench_export [messages=100000]: exporting the messages of a generated
// message database (read and ordered as the window lists them) through the
// real export job to CSV, text, HTML and XML backup files and to PDF (one
// file per conversation), each beside the floor measured in the same run:
// bench/csv_floor.py, Python's csv module writing the CSV rows of the same
// database. PDF also in pages per second.

#include "bench/BenchSupport.h"
#include "bench/ProgressSink.h"

#include "export/ExportSMSThread.h"
#include "export/ExportTarget.h"
#include "store/IOS6MessageDb.h"
#include "store/MessageLists.h"
#include "store/MessageOrder.h"
#include "store/MessageSet.h"

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

// The job's seconds for one format; exits when the export fails.
double exportSeconds(const QList<_MsgMessage*>& messages, const QString& path, unsigned format)
{
    ProgressSink sink;
    ExportSMSThread job(messages, path, format, true, &sink, nullptr);
    sink.moveToThread(&job);
    const double time = secondsOf([&] {
        job.start();
        job.wait();
    });
    if (!sink.succeeded) {
        std::fprintf(stderr, "the export to %s failed: %s\n", qPrintable(path), qPrintable(sink.error));
        std::exit(1);
    }
    return time;
}

} // namespace

int main(int argc, char* argv[])
{
    const auto home = useTemporaryHomeOffscreen();
    QApplication app(argc, argv); // the PDF writer lays out text with the application's fonts
    const auto generated = generateSource(app.arguments());
    MessageSet set;
    IOS6MessageDb source(generated->folder, QString());
    source.readMessages(set, 0);
    QList<_MsgMessage*> messages = allMessages(set);
    sortMessagesAscending(messages);
    const double n = double(messages.size());

    printTitle(QStringLiteral("bench_export: %1 messages in %2 conversations")
                   .arg(messages.size())
                   .arg(generated->conversations));
    const FloorRun floorRun = runFloorScript(
        QStringLiteral("csv_floor.py"), {source.databasePath(), home->filePath(QStringLiteral("floor.csv"))});
    source.close();
    // The floor is the csv module's writing alone, not Python's start nor its reading of the database.
    const double floor = floorRun.printed;
    printRow(QString(), QStringLiteral("time"), QStringLiteral("rate"), QStringLiteral("/ CSV floor"));
    printRow(QStringLiteral("floor: csv_floor.py writing the rows"), seconds(floor), perSecond(n, floor));
    printRow(QStringLiteral("  (the whole script, reading included)"), seconds(floorRun.seconds),
             perSecond(n, floorRun.seconds));
    const struct
    {
        const char* label;
        unsigned format;
        const char* name;
    } formats[] = {{"CSV", ExportTarget::Csv, "sms.csv"},
                   {"text", ExportTarget::Text, "sms.txt"},
                   {"HTML (one file per conversation)", ExportTarget::Html, "sms-html"},
                   {"XML backup", ExportTarget::Xml, "sms.xml"},
                   {"PDF (one file per conversation)", ExportTarget::Pdf, "sms-pdf"}};
    for (const auto& format : formats) {
        const QString path = home->filePath(QLatin1String(format.name));
        const double time = exportSeconds(messages, path, format.format);
        const bool pdf = format.format == ExportTarget::Pdf;
        printRow(QLatin1String(format.label), seconds(time), perSecond(n, time), ratio(time / floor),
                 pdf ? QString() : QStringLiteral("goal <= 1.00x"));
        if (!pdf)
            continue;
        const qint64 pages = pdfPages(path);
        printRow(QStringLiteral("PDF pages: %1").arg(pages), QString(),
                 QStringLiteral("%1 pages/s").arg(qint64(pages / time)), QStringLiteral("goal >= 1000"));
        // BENCH_KEEP_PDF: the folder of PDF files is kept there, to compare the pages of two builds.
        if (!qEnvironmentVariableIsEmpty("BENCH_KEEP_PDF"))
            QDir(path).rename(path, qEnvironmentVariable("BENCH_KEEP_PDF"));
    }
    return 0;
}
