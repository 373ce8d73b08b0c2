#pragma once

// Called once at start-up, after the main window is shown. Converts the
// local databases of the earlier single-file format (plain files directly
// inside localDbDir()) under a progress dialog that cannot be cancelled;
// true only when a conversion ran and succeeded, after the user read the
// success message. The program then ends. Returns false at once, converting
// nothing, while another running Textferry converts.
bool convertOldLocalDatabasesIfAny();
