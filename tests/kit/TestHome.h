#pragma once

#include <QTemporaryDir>

// Points HOME at a fresh folder (before anything asks for the data folder)
// and installs the English translation the program ships.
void prepareTestHome(QTemporaryDir& home);
