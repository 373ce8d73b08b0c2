#pragma once

#include <QString>

// Hands an error the user was shown to the vendor's error report. Does not wait.
void sendErrorReport(const QString& text);
