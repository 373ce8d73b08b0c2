#pragma once

#include "android/SimpleProtocol.h"

class JobProgress;
struct AndroidDevice;

// The steps both connect jobs share: asking the companion app for the
// phone's properties, and judging its version.

// Opens a device connection, reads the "$hello:" line into the record's
// fields, says "$bye:" and closes. Throws what the protocol throws.
void readCompanionInfo(AndroidDevice& record, const simpleprotocol::CancelCheck& cancelled);

// Success (no message) for a companion app of version 10 or later; else the
// error that asks for an update.
void postCompanionVersionVerdict(const AndroidDevice& record, JobProgress* form);
