#pragma once

#include <QTemporaryDir>

// A fresh home folder for one test executable, made with the test object and
// so before anything asks for the data folder: HOME points at it (and
// XDG_DATA_HOME is unset, so the data folder follows HOME), and the English
// translation the program ships is installed when the test links it (the
// widget kit, tf_ui, carries it). A folder that cannot be made ends the run
// at once.
//
//     class TestBackup : public QObject
//     {
//         Q_OBJECT
//         TestHome home; // a QTemporaryDir: home.path(), home.filePath(...)
//         ...
class TestHome : public QTemporaryDir
{
public:
    TestHome();
};

// Installs the English translation the program ships (":/en.qm"), once per
// process; false when the test does not link it.
bool installEnglishTranslation();
