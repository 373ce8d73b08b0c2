#pragma once

#include "sql/Sqlite3DB.h"

#include <QDir>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <functional>
#include <memory>

// What every benchmark needs: a private data folder, a generated message
// database, a clock and a table printer. Figures go to standard output.
namespace BenchSupport {

// Points HOME at a fresh temporary folder so the country library and the log
// never touch the user's data folder; call first thing in main().
std::unique_ptr<QTemporaryDir> useTemporaryHome();
// The same for a benchmark of widgets, which also run on the offscreen
// platform unless QT_QPA_PLATFORM names another; call before the application
// object is made.
std::unique_ptr<QTemporaryDir> useTemporaryHomeOffscreen();

// The message count given as the first argument, or fallback.
int messageCountArgument(const QStringList& arguments, int fallback);

// Generates a message database in folder (seed 1) and prints how long it took.
void generateDatabase(const QDir& folder, int messages, int conversations);

// A temporary work folder holding, in its "source" folder, a generated
// database of the size the first argument asks for (fallback messages, one
// conversation per 50).
struct GeneratedSource
{
    QTemporaryDir work;
    QDir folder;
    int messages = 0;
    int conversations = 0;
};
std::unique_ptr<GeneratedSource> generateSource(const QStringList& arguments, int fallback = 100000);

// The first column of the first row of a query, as a number (0 without a row).
qint64 scalar(Sqlite3DB& db, const QString& sql);

// Seconds taken by one call of work.
double secondsOf(const std::function<void()>& work);
// The smallest of runs timings of work; before is called untimed ahead of each run.
double bestOf(int runs, const std::function<void()>& work, const std::function<void()>& before = {});

// Runs a Python floor script of bench/ (name: its file name) with args as a
// child process; exits the benchmark when python3 is missing or the script
// fails.
struct FloorRun
{
    double seconds = 0; // the whole run, the process start included
    double printed = -1; // the seconds the script printed last for its own measure, -1 for none
};
FloorRun runFloorScript(const QString& name, const QStringList& args);

// Bytes currently allocated on the heap (glibc's mallinfo2).
qint64 heapInUse();

// Prints a title and a separator line.
void printTitle(const QString& title);
// Prints one row of a table: a label and up to three columns, and a note.
void printRow(const QString& label, const QString& a, const QString& b = QString(),
              const QString& c = QString(), const QString& note = QString());

QString seconds(double value);
QString perSecond(double count, double seconds);
QString ratio(double value);

} // namespace BenchSupport
