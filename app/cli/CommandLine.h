#pragma once

class QCoreApplication;

// The program's command line for scripts and scheduled backups, run without
// a window:
//
//     textferry import-xml FILE --into NAME
//     textferry export NAME --format xml|txt|doc|csv|html|pdf --out PATH [--descending]
//     textferry --help | --version
//
// Progress goes to standard error, the result to standard output.
namespace CommandLine {

// Whether the arguments ask for the command line rather than the window.
bool isRequested(int argc, char* argv[]);

// Runs the command; the program's exit status (0 on success).
int run(QCoreApplication& app);

} // namespace CommandLine
