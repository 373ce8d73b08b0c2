#include "app/ui/ErrorReport.h"

#include <QDebug>

void sendErrorReport(const QString& text)
{
    // The report goes to the log only; nothing is sent over the network.
    qWarning().noquote() << QStringLiteral("Error report:") << text;
}
