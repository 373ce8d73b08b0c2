#include "app/StartupConversion.h"

bool convertOldLocalDatabasesIfAny()
{
    // No conversion is performed: start-up always goes on.
    return false;
}
