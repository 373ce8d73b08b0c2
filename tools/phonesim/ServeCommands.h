#pragma once

class CommandLine;

// The sub-commands that play the companion app. Both run an event loop and
// return the exit code.
namespace ServeCommands {

// serve --phone FILE --url URL [--host 127.0.0.1] [--idle 30] [--lifetime S]:
// serves one exchange on the URL's port, then exits.
int serve(const CommandLine& line);
// wifi --phone FILE [--port 44441] [--host 127.0.0.1] [--idle 30] [--lifetime S]:
// the WiFi control port; runs until killed or until its lifetime is over.
int wifi(const CommandLine& line);

} // namespace ServeCommands
