// The window's conversations with the vendor's web server: once a day the
// update check and the promotion link, both started by the constructor and
// never waited for, and the "Check for Update" command.
#include "app/MainWindow.h"

#include "base/AppDirs.h"
#include "base/AppInfo.h"
#include "base/VendorServer.h"
#include "ui/MessageBoxes.h"
#include "ui/PromotionLink.h"
#include "ui/ShellOpen.h"
#include "ui/VendorRequest.h"

#include <QClipboard>
#include <QDateTime>
#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QStringDecoder>
#include <QUrl>

namespace {

constexpr qint64 kSecondsBetweenChecks = 86400;
const char kCheckTimeFile[] = "last-check-version-time";
const char kPromotionFile[] = "last-adv";

QString dataFile(const char* name)
{
    return appDataDir().absoluteFilePath(QLatin1String(name));
}

// The file holds the time of the last update reply. Compared as unsigned, a
// time in the future is as stale as one more than a day old.
bool checkedWithinADay()
{
    QFile file(dataFile(kCheckTimeFile));
    if (!file.open(QIODevice::ReadOnly))
        return false;
    QByteArray content = file.read(64);
    const int nul = content.indexOf('\0');
    if (nul >= 0)
        content.truncate(nul);
    const qint64 checked = QString::fromLatin1(content).toInt();
    const qint64 now = QDateTime::currentSecsSinceEpoch();
    return checked != 0 && quint64(now - checked) <= quint64(kSecondsBetweenChecks);
}

void writeDataFile(const char* name, const QByteArray& content)
{
    QFile file(dataFile(name));
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(content);
}

QString productQuery(bool withBuild)
{
    QString query = QStringLiteral("pid=") + QLatin1String(AppInfo::kProductId);
    if (withBuild)
        query += QStringLiteral("&ver=%1").arg(AppInfo::kBuildNumber);
    return query;
}

// Opens the address in the browser; when no browser opens it, shows the
// address (selectable, with a button that copies it) to open by hand. True
// when the browser took it.
bool openOrShowAddress(const QString& address)
{
    if (openWithShell(address))
        return true;
    const QString text =
        MainWindow::tr("Textferry could not open your web browser. Open this address in it yourself:<br/><br/>%1")
            .arg(QStringLiteral("<a href=\"%1\">%1</a>").arg(address.toHtmlEscaped()));
    showInfoBoxWithAction(text, MainWindow::tr("Copy Address"),
                          [address] { QGuiApplication::clipboard()->setText(address); });
    return false;
}

// The reply of a request once it has finished, handed over by the window:
// the member is cleared and the reply deleted later. Null before it finished.
QNetworkReply* takeFinished(QPointer<QNetworkReply>& request)
{
    QNetworkReply* reply = request.data();
    if (!reply || !reply->isFinished())
        return nullptr;
    request.clear();
    reply->deleteLater();
    return reply;
}

} // namespace

void MainWindow::startUpdateChecks()
{
    const VendorServer server = VendorServer::fromEnvironment();
    if (server.isOff() || checkedWithinADay())
        return;
    network = new QNetworkAccessManager(this);
    updateRequest = VendorRequest::get(*network, server.url(QStringLiteral("/sms_check_update.php"),
                                                            productQuery(true) + QStringLiteral("&q=1")));
    connect(updateRequest, &QNetworkReply::finished, this, &MainWindow::onCheckVersionReadyRead);
    advRequest = VendorRequest::get(*network, server.url(QStringLiteral("/adv.php"), productQuery(false)));
    connect(advRequest, &QNetworkReply::finished, this, &MainWindow::onGetAdvLinkRead);
}

void MainWindow::abortUpdateChecks()
{
    // Aborting finishes a reply at once; the window no longer listens then.
    for (QNetworkReply* reply : {updateRequest.data(), advRequest.data()}) {
        if (reply) {
            reply->disconnect(this);
            reply->abort();
        }
    }
    delete network;
    network = nullptr;
}

void MainWindow::onCheckVersionReadyRead()
{
    QNetworkReply* reply = takeFinished(updateRequest);
    // Without any answer the next start asks again; any answer counts as the
    // day's check, whatever its status.
    if (!reply || !VendorRequest::hasHttpStatus(*reply))
        return;
    writeDataFile(kCheckTimeFile, QByteArray::number(QDateTime::currentSecsSinceEpoch()));
    const std::optional<QByteArray> body = VendorRequest::textBody(*reply);
    if (!body)
        return;
    const QString address = QString::fromLatin1(*body).trimmed();
    if (!address.startsWith(QLatin1String("http://"), Qt::CaseInsensitive) || !isWebAddress(QUrl(address)))
        return; // no newer version
    // Asked from the event loop, once the reply's own signal has returned.
    QMetaObject::invokeMethod(
        this, [this, address] { offerUpdate(address); }, Qt::QueuedConnection);
}

void MainWindow::offerUpdate(const QString& address)
{
    const QString question = tr("A new version of %1 is available. Would you like to download it now?")
                                 .arg(QObject::tr("Textferry"));
    if (!askYesNo(question))
        return;
    // The program ends for the new version only once the browser has the address.
    if (openOrShowAddress(address))
        close();
}

void MainWindow::onGetAdvLinkRead()
{
    QNetworkReply* reply = takeFinished(advRequest);
    const std::optional<QByteArray> body = reply ? VendorRequest::textBody(*reply) : std::nullopt;
    if (!body)
        return;
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString text = utf8(*body);
    // Anything but a plain link to a web page keeps the one an earlier start cached.
    const QString link = utf8.hasError() ? QString() : promotionLinkHtml(text);
    if (!link.isEmpty())
        showPromotion(link);
}

void MainWindow::showPromotion(const QString& link)
{
    advLabel->setText(link);
    writeDataFile(kPromotionFile, link.toUtf8());
}

void MainWindow::openUpdatePage()
{
    // The command always opens a page: with requests turned off, the vendor's own.
    VendorServer server = VendorServer::fromEnvironment();
    if (server.isOff())
        server = VendorServer::fromSetting(QString());
    openOrShowAddress(server.url(QStringLiteral("/sms_check_update.php"), productQuery(true)).toString());
}

void MainWindow::miCheckUpdate()
{
    openUpdatePage();
}
