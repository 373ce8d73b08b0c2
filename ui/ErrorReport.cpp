#include "ui/ErrorReport.h"

#include "base/AppInfo.h"
#include "base/VendorServer.h"
#include "ui/VendorRequest.h"

#include <QCoreApplication>
#include <QDebug>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QPointer>
#include <QRegularExpression>

namespace {

// Reports still under way; further ones are dropped until some finish, so a
// server that does not answer cannot make them pile up.
constexpr int kMaxPendingReports = 4;
int pendingReports = 0;

// One manager for the whole process, created on first use and owned by the
// application object, which aborts what is still pending when it goes.
QNetworkAccessManager* reportManager()
{
    static QPointer<QNetworkAccessManager> manager;
    if (!manager && QCoreApplication::instance())
        manager = new QNetworkAccessManager(QCoreApplication::instance());
    return manager;
}

// Line-break tags become CR LF; other markup is escaped.
QString reportText(QString text)
{
    static const QRegularExpression lineBreak(QStringLiteral("< *br */?>"),
                                              QRegularExpression::CaseInsensitiveOption);
    text.replace(lineBreak, QStringLiteral("\r\n"));
    text.replace(QLatin1Char('<'), QLatin1String("&lt;"));
    text.replace(QLatin1Char('>'), QLatin1String("&gt;"));
    return text;
}

// Base64 of the UTF-8 bytes with "/" as "!" and "=" as "-".
QByteArray reportEncoded(const QString& value)
{
    QByteArray encoded = value.toUtf8().toBase64();
    encoded.replace('/', '!');
    encoded.replace('=', '-');
    return encoded;
}

QByteArray reportForm(const QString& text)
{
    const QString version =
        QStringLiteral("%1(%2)").arg(QLatin1String(AppInfo::kVersion)).arg(AppInfo::kBuildNumber);
    return QByteArrayLiteral("prod=") + reportEncoded(QObject::tr("Textferry")) + QByteArrayLiteral("&ver=") +
           reportEncoded(version) + QByteArrayLiteral("&err=") + reportEncoded(reportText(text));
}

} // namespace

void sendErrorReport(const QString& text)
{
    qWarning().noquote() << QStringLiteral("Error report:") << text;
    const QUrl url = VendorServer::fromEnvironment().url(QStringLiteral("/err_report.php"));
    QNetworkAccessManager* manager = reportManager();
    if (url.isEmpty() || !manager)
        return;
    if (pendingReports >= kMaxPendingReports) {
        qWarning("Error report not sent: %d reports are still under way.", pendingReports);
        return;
    }
    ++pendingReports;
    QNetworkReply* reply = VendorRequest::postForm(*manager, url, reportForm(text));
    QObject::connect(reply, &QNetworkReply::finished, reply, &QObject::deleteLater);
    // Also when the application object takes the manager and its replies with it.
    QObject::connect(reply, &QObject::destroyed, [] { --pendingReports; });
}
