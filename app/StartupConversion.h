#pragma once

// Called once at start-up, after the main window is shown. Decides whether
// local databases of the earlier single-file format (plain files directly
// inside localDbDir()) are to be converted; returns true only when such a
// conversion ran and succeeded, in which case the program ends.
bool convertOldLocalDatabasesIfAny();
