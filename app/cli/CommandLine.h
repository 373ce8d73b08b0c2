#pragma once

class QCoreApplication;

// The program's command line for scripts and scheduled backups, run without
// a window:
//
//     textferry import-xml FILE --into NAME [--country CODE]
//     textferry export NAME --format xml|txt|doc|csv|html|pdf --out PATH [--descending]
//     textferry --help | --version
//
// On a terminal the progress is one line of standard error, rewritten in
// place; otherwise only the result is written. The result goes to standard
// output, errors (naming the file or database they concern) to standard
// error. Exit status: 0 success, 1 failure (nothing to export counts as
// one), 2 wrong arguments (an unknown command among them).
namespace CommandLine {

// Whether the arguments are for the command line rather than the window:
// a first argument that is no option (a command, or a mistyped one), or one
// of the command line's own options. Other options (Qt's -platform, -style
// and the like) are the window's.
bool isRequested(int argc, char* argv[]);

// Runs the command; the program's exit status.
int run(QCoreApplication& app);

} // namespace CommandLine
