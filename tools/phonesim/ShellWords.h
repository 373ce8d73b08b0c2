#pragma once

#include <QString>
#include <QStringList>

// Splits a command line the way the phone's sh (mksh) does for the simple
// commands Textferry sends: words separated by blanks, single quotes taken
// literally, double quotes with \ escaping \ " $ and `, a backslash outside
// quotes escaping the next character. An unquoted ( or ) is a syntax error,
// as it is for mksh; other operators (; | & < >) are not supported here.
// False with *error set to what the phone's shell prints on standard error.
bool splitShellWords(const QString& line, QStringList* words, QString* error);
