#include "app/MainWindow.h"
#include "app/StartupConversion.h"
#include "app/base/AppDirs.h"
#include "app/base/AppInfo.h"
#include "app/base/LogHandler.h"
#include "app/ui/MessageBoxes.h"
#include "store/sql/AbsDb.h"

#include <QApplication>
#include <QTranslator>
#include <QtDebug>

namespace {
// The interface version of the SQL layer this program is built for.
constexpr int kSqlInterfaceVersion = 5;
} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);

    // Installed even when the translation did not load: the source texts show then.
    QTranslator translator;
    [[maybe_unused]] const bool loaded =
        translator.load(QStringLiteral(":/en.qm"), QString(), QString(), QString());
    QApplication::installTranslator(&translator);

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
