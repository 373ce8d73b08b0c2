#include "tests/kit/TestHome.h"

#include <QCoreApplication>
#include <QFile>
#include <QTranslator>
#include <QtGlobal>

TestHome::TestHome()
{
    if (!isValid())
        qFatal("No test home folder: %s", qPrintable(errorString()));
    qputenv("HOME", QFile::encodeName(path()));
    qunsetenv("XDG_DATA_HOME"); // the data folder follows HOME
    installEnglishTranslation();
}

bool installEnglishTranslation()
{
    static QTranslator translator;
    static bool installed = false;
    if (!installed && translator.load(QStringLiteral(":/en.qm")))
        installed = QCoreApplication::installTranslator(&translator);
    return installed;
}
