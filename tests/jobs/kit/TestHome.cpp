#include "TestHome.h"

#include <QCoreApplication>
#include <QFile>
#include <QTranslator>
#include <QtGlobal>

void prepareTestHome(QTemporaryDir& home)
{
    qputenv("HOME", QFile::encodeName(home.path()));
    static QTranslator translator;
    if (translator.isEmpty() && translator.load(QStringLiteral(":/en.qm")))
        QCoreApplication::installTranslator(&translator);
}
