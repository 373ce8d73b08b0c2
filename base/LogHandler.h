#pragma once

#include <QDate>
#include <QString>
#include <QStringList>
#include <QtGlobal>

// Keeps the newest `keep` files of the log folder and routes every Qt message
// into today's log file there ("log-yyyyMMdd.txt"). Installing again switches
// to the new folder; the file of the old one is closed.
void installLogHandler(const QString& folder, int keep);
// Writes one line for a message; safe from any thread. A message of type
// QtFatalMsg ends the process with abort() once its line is on disk.
void logMessageHandler(QtMsgType type, const char* text);

// The line written for one message: "(D hh:mm:ss) text\n" and its W, C and F
// siblings; "(hh:mm:ss) text\n" for any other type. The message is inserted
// literally, whatever % markers it holds.
QString formatLogLine(QtMsgType type, const QString& time, const QString& message);
// "log-yyyyMMdd.txt" for the date.
QString logFileName(const QDate& date);
// Deletes the plain files of the folder that sort first by name, so that at
// most `keep` remain. Sub-folders stay and do not count. Nothing is deleted
// when the folder is a symbolic link to elsewhere.
void removeOldLogs(const QString& folder, int keep);
