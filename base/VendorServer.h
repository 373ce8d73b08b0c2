#pragma once

#include <QString>
#include <QUrl>

// Where the vendor's web server is. By default AppInfo::kServerHost on port
// 80; the environment variable TEXTFERRY_SERVER overrides it: "off" turns
// every request to the server off, "host" or "host:port" points the program
// at another server.
class VendorServer
{
public:
    // The server TEXTFERRY_SERVER names, read at every call.
    static VendorServer fromEnvironment();
    // The server a setting names: empty is the default server. A setting that
    // names no usable server (a path, a bad port) is off, so a mistyped
    // override never reaches the vendor.
    static VendorServer fromSetting(const QString& setting);

    bool isOff() const { return serverHost.isEmpty(); }
    QString host() const { return serverHost; }
    int port() const { return serverPort; }
    // "http://host[:port]" with the path and query; an empty address when off.
    QUrl url(const QString& path, const QString& query = QString()) const;

private:
    VendorServer() = default;
    VendorServer(const QString& host, int port) : serverHost(host), serverPort(port) {}

    QString serverHost;
    int serverPort = 80;
};
