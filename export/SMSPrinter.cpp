#include "export/SMSPrinter.h"

#include "export/MessagePageWriter.h"

#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPrintPreviewDialog>
#include <QPrinter>

namespace {
constexpr qreal kMarginPoints = 20;
}

SMSPrinter::SMSPrinter(QObject* parent) : QObject(parent) {}

void SMSPrinter::print(const QList<_MsgMessage*>& messages)
{
    this->messages = messages;
    QPrinter printer(QPrinter::ScreenResolution);
    printer.setPageOrientation(QPageLayout::Portrait);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setOutputFormat(QPrinter::NativeFormat);
    if (!printer.isValid())
        printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setPageMargins(QMarginsF(kMarginPoints, kMarginPoints, kMarginPoints, kMarginPoints),
                           QPageLayout::Point);

    QPrintPreviewDialog dialog(&printer);
    dialog.setObjectName(QStringLiteral("printPreview"));
    dialog.setWindowModality(Qt::ApplicationModal);
    dialog.setModal(true);
    dialog.setWindowTitle(tr("IDS_PRINT_SMS"));
    connect(&dialog, &QPrintPreviewDialog::paintRequested, this, &SMSPrinter::onPaintRequested);
    dialog.exec();
}

void SMSPrinter::onPaintRequested(QPrinter* printer)
{
    MessagePageWriter writer;
    writer.beginPages(printer);
    for (const _MsgMessage* message : qAsConst(messages)) {
        if (message)
            writer.writeMessage(*message);
    }
    writer.endPages();
}
