#pragma once

#include <QString>

// Posts an error the user was shown to the vendor's web server
// ("/err_report.php") and returns at once; the answer is not read and
// failures are not reported. Nothing is sent when TEXTFERRY_SERVER is "off".
// GUI thread only.
void sendErrorReport(const QString& text);
