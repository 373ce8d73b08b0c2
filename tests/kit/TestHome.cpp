#include "tests/kit/TestHome.h"

#include <QCoreApplication>
#include <QFile>
#include <QTranslator>
#include <QtGlobal>

void prepareTestHome(QTemporaryDir& home)
{
    qputenv("HOME", QFile::encodeName(home.path()));
    qunsetenv("XDG_DATA_HOME"); // the data folder follows HOME
    static QTranslator translator;
    if (translator.isEmpty() && translator.load(QStringLiteral(":/en.qm")))
        QCoreApplication::installTranslator(&translator);
}
