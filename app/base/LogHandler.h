#pragma once

#include <QString>
#include <QtGlobal>

// Keeps the newest `keep` files of the log folder and routes every Qt message
// into today's log file there ("log-yyyyMMdd.txt").
void installLogHandler(const QString& folder, int keep);
// Writes one line for a message; safe from any thread.
void logMessageHandler(QtMsgType type, const char* text);
