// The stand-in adb: put its folder first on PATH and Textferry talks to the
// simulated phones of textferry-phonesim. See README.md next to this file.

#include "tools/phonesim/AdbStandIn.h"

#include <QCoreApplication>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    return AdbStandIn(app.arguments().mid(1)).run();
}
