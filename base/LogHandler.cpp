#include "base/LogHandler.h"

#include "base/PathGuard.h"

#include <QDir>
#include <QFile>
#include <QTime>
#include <mutex>

#include <cstdio>
#include <cstdlib>

namespace {

struct LogState
{
    std::mutex mutex;
    QString folder;
    QFile file;
};

// Never destroyed, so messages emitted while the process shuts down still
// find a valid lock and file.
LogState& logState()
{
    static LogState* state = new LogState;
    return *state;
}

// Set while this thread is inside the handler: a message raised by the
// handler's own file calls is dropped instead of locking the mutex twice.
thread_local bool insideHandler = false;

void qtMessageAdapter(QtMsgType type, const QMessageLogContext& /*context*/, const QString& message)
{
    logMessageHandler(type, message.toUtf8().constData());
}

// Opens today's file in the log folder when no file is open yet.
void ensureLogFileOpen(LogState& state)
{
    if (state.file.isOpen() || state.folder.isEmpty())
        return;
    const QDir folder(state.folder);
    if (!folder.exists())
        QDir().mkpath(state.folder);
    state.file.setFileName(folder.absoluteFilePath(logFileName(QDate::currentDate())));
    state.file.open(QIODevice::ReadWrite | QIODevice::Append);
}

} // namespace

QString formatLogLine(QtMsgType type, const QString& time, const QString& message)
{
    QString line;
    switch (type) {
    case QtDebugMsg:
        line = QStringLiteral("(D %1) %2\n");
        break;
    case QtWarningMsg:
        line = QStringLiteral("(W %1) %2\n");
        break;
    case QtCriticalMsg:
        line = QStringLiteral("(C %1) %2\n");
        break;
    case QtFatalMsg:
        line = QStringLiteral("(F %1) %2\n");
        break;
    default:
        line = QStringLiteral("(%1) %2\n");
        break;
    }
    // The time fills the template first, so a %1 inside the message stays as it is.
    return line.arg(time).arg(message);
}

QString logFileName(const QDate& date)
{
    return QStringLiteral("log-%1.txt").arg(date.toString(QStringLiteral("yyyyMMdd")));
}

void removeOldLogs(const QString& folder, int keep)
{
    // Every plain file counts, so only a real folder of our own is cleaned: a
    // "qlogs" that is a link to another folder keeps everything there.
    if (!isRealSubfolder(folder))
        return;
    QDir dir(folder);
    const QStringList files = dir.entryList(QDir::Files, QDir::Name);
    const int excess = files.size() - qMax(keep, 0);
    for (int i = 0; i < excess; ++i)
        QFile::remove(dir.absoluteFilePath(files.at(i)));
}

void installLogHandler(const QString& folder, int keep)
{
    {
        LogState& state = logState();
        std::lock_guard<std::mutex> lock(state.mutex);
        state.folder = folder;
        state.file.close();
    }
    removeOldLogs(folder, keep);
    qInstallMessageHandler(qtMessageAdapter);
}

void logMessageHandler(QtMsgType type, const char* text)
{
    if (insideHandler)
        return;
    insideHandler = true;
    LogState& state = logState();
    {
        std::lock_guard<std::mutex> lock(state.mutex);
        ensureLogFileOpen(state);
        if (type == QtDebugMsg) {
            std::printf("%s\n", text ? text : "");
            std::fflush(stdout);
        }
        const QString message = QString::fromUtf8(text);
        const QString time = QTime::currentTime().toString(QStringLiteral("hh:mm:ss"));
        // A file that could not be opened loses the line; the program goes on.
        if (state.file.isOpen()) {
            state.file.write(formatLogLine(type, time, message).toUtf8());
            state.file.flush();
        }
        if (type == QtFatalMsg)
            std::abort();
    }
    insideHandler = false;
}
