#include "app/MainWindow.h"
#include "app/StartupConversion.h"
#include "base/AppDirs.h"
#include "base/AppInfo.h"
#include "base/LogHandler.h"
#include "app/cli/CommandLine.h"
#include "ui/MessageBoxes.h"
#include "sql/AbsDb.h"

#include <QApplication>
#include <QGuiApplication>
#include <QTranslator>
#include <QtDebug>

namespace {
// The interface version of the SQL layer this program is built for.
constexpr int kSqlInterfaceVersion = 5;

// Installed even when the translation did not load: the source texts show then.
void installTranslation(QTranslator& translator)
{
    [[maybe_unused]] const bool loaded =
        translator.load(QStringLiteral(":/en.qm"), QString(), QString(), QString());
    QCoreApplication::installTranslator(&translator);
}

// The command line works without a display: nothing is ever shown, but
// the PDF export needs the fonts of a GUI application.
int runCommandLine(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QTranslator translator;
    installTranslation(translator);
    return CommandLine::run(app);
}

} // namespace

int main(int argc, char* argv[])
{
    if (CommandLine::isRequested(argc, argv))
        return runCommandLine(argc, argv);

    QApplication app(argc, argv);
    // Lets the desktop match the window to the installed menu entry and icon.
    QGuiApplication::setDesktopFileName(QString::fromLatin1(AppInfo::kDesktopFileId));
    QTranslator translator;
    installTranslation(translator);

    if (sqlite_qt_version() != kSqlInterfaceVersion) {
        showErrorBox(QStringLiteral("invalid libsqlite_qt."));
        return 1;
    }

    installLogHandler(appDataDir().absoluteFilePath(QStringLiteral("qlogs")), 10);
    qDebug("%s %s(%d) starting", "Textferry", AppInfo::kVersion, AppInfo::kBuildNumber);

    MainWindow window;
    window.show();

    // Converted databases show after a restart: the program ends once the
    // user has read the message.
    if (convertOldLocalDatabasesIfAny())
        QMetaObject::invokeMethod(&window, "close", Qt::QueuedConnection);

    return app.exec();
}
