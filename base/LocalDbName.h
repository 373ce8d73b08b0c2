#pragma once

#include <QString>

// The one rule for the names of local databases, used wherever a name comes
// in (the database picker, the window's import, the command line). A usable
// name is the name of a folder directly inside the local-databases folder
// that the listing of the databases shows: not empty nor only blanks, none of
// \ / : * ? " < > |, no control character, and no leading dot (a hidden
// folder, "." and ".." among them). Leading and trailing blanks are allowed
// and kept.
bool isUsableLocalDbName(const QString& name);
