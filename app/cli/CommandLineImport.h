#pragma once

#include <QStringList>

class QCommandLineParser;

namespace CommandLine {

// textferry import-xml FILE --into NAME [--country CODE]; the exit status.
// A database made for this import is removed again when the import fails or
// is stopped; an existing one is left as it was.
int importXml(const QCommandLineParser& parser, const QStringList& args);

} // namespace CommandLine
