#include "export/ExportSMSPdf.h"

#include <QDir>
#include <QFileInfo>
#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>

#include <stdexcept>

namespace {
constexpr qreal kMarginPoints = 20;
}

ExportSMSPdf::ExportSMSPdf(const QString& path) : path(path), printer(QPrinter::ScreenResolution)
{
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
    printer.setPageMargins(QMarginsF(kMarginPoints, kMarginPoints, kMarginPoints, kMarginPoints),
                           QPageLayout::Point);
    writer.beginPages(&printer);
}

void ExportSMSPdf::begin()
{
    if (!writer.isActive())
        throwNotWritten();
}

void ExportSMSPdf::write(const _MsgMessage& message)
{
    writer.writeMessage(message);
}

void ExportSMSPdf::end()
{
    const bool started = writer.isActive();
    writer.endPages();
    if (!started || !QFileInfo(path).isFile())
        throwNotWritten();
}

void ExportSMSPdf::throwNotWritten() const
{
    const QString text = QStringLiteral("can not write %1.").arg(QDir::toNativeSeparators(path));
    throw std::runtime_error(text.toUtf8().toStdString());
}
