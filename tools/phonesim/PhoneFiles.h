#pragma once

class CommandLine;

// The sub-commands that manage phone files. Each returns the exit code and
// writes its complaints to standard error.
namespace PhoneFiles {

// plug PHONE.json [--serial S]: copies the phone into phones/<serial>.json and
// marks the companion app installed or not, as the file says.
int plug(const CommandLine& line);
// unplug SERIAL: removes the phone and its installed mark.
int unplug(const CommandLine& line);
// generate OUT.json [--messages N] [--conversations M] [--seed S] [--serial S] ...:
// writes a phone file whose messages come from the generator.
int generate(const CommandLine& line);

} // namespace PhoneFiles
