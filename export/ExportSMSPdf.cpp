#include "export/ExportSMSPdf.h"

#include "export/ExportFileError.h"

#include <QFile>
#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>

#include <algorithm>
#include <cerrno>

namespace {
constexpr qreal kMarginPoints = 20;
// The trailer and the end-of-file mark fit in far less at the end of the file.
constexpr qint64 kTrailerBytes = 1024;
} // namespace

ExportSMSPdf::ExportSMSPdf(const QString& path) : path(path), printer(QPrinter::ScreenResolution)
{
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
    printer.setPageMargins(QMarginsF(kMarginPoints, kMarginPoints, kMarginPoints, kMarginPoints),
                           QPageLayout::Point);
    errno = 0;
    writer.beginPages(&printer);
    if (!writer.isActive())
        startError = errno;
}

void ExportSMSPdf::begin()
{
    if (!writer.isActive())
        throw exportFileError("can not write", path, startError);
}

void ExportSMSPdf::write(const _MsgMessage& message)
{
    writer.writeMessage(message);
}

// The PDF engine writes through a buffered file of its own and does not say
// when a write fails: the finished file is checked instead, and the errno its
// last failing write left is the reason given.
void ExportSMSPdf::end()
{
    if (!writer.isActive())
        throw exportFileError("can not write", path, startError);
    errno = 0;
    const bool ended = writer.endPages();
    const int osError = errno;
    if (!ended || printer.printerState() == QPrinter::Error || !isCompleteDocument(path))
        throw exportFileError("can not write", path, osError, QStringLiteral("the document is incomplete"));
}

bool ExportSMSPdf::isCompleteDocument(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const qint64 size = file.size();
    if (size < kTrailerBytes / 64 || !file.seek(std::max<qint64>(0, size - kTrailerBytes)))
        return false;
    const QByteArray tail = file.readAll().trimmed();
    const qsizetype start = tail.lastIndexOf("startxref");
    if (!tail.endsWith("%%EOF") || start < 0)
        return false;
    bool ok = false;
    const qint64 xref = tail.mid(start + 9, tail.size() - start - 9 - 5).trimmed().toLongLong(&ok);
    if (!ok || xref <= 0 || xref >= size || !file.seek(xref))
        return false;
    return file.read(4) == "xref";
}
