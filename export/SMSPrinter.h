#pragma once

#include "store/MsgMessage.h"

#include <QList>
#include <QObject>

class QPrinter;

// Prints messages through the print preview: the pages look like the PDF
// export's, with the messages in the order the caller gives.
class SMSPrinter : public QObject
{
    Q_OBJECT
public:
    explicit SMSPrinter(QObject* parent = nullptr);

    // Shows the print preview of the messages on A4 (a PDF printer when no
    // printer is installed); returns when the preview closes. The records
    // are not owned and must outlive the call.
    void print(const QList<_MsgMessage*>& messages);

public slots:
    // Lays out every message from page 1: the preview asks again after each
    // change of page setup and when the user prints.
    void onPaintRequested(QPrinter* printer);

private:
    QList<_MsgMessage*> messages;
};
