#include "tools/phonesim/ServeCommands.h"

#include "tools/phonesim/CommandLine.h"
#include "tools/phonesim/ExchangeServer.h"
#include "tools/phonesim/PhoneProfile.h"
#include "tools/phonesim/WifiControl.h"

#include <QCoreApplication>
#include <QHostAddress>
#include <QTimer>

#include <cstdio>

namespace {
int complain(const QString& text)
{
    std::fprintf(stderr, "textferry-phonesim: %s\n", qPrintable(text));
    return 1;
}

struct CommonOptions
{
    QHostAddress host;
    qint64 idleSeconds = 30;
    qint64 lifetimeSeconds = 0; // 0: no limit
};

bool readCommonOptions(const CommandLine& line, CommonOptions* options, QString* error)
{
    const QString host = line.value(QStringLiteral("host"), QStringLiteral("127.0.0.1"));
    if (!options->host.setAddress(host)) {
        *error = QStringLiteral("--host wants an IP address, not ") + host;
        return false;
    }
    return line.number(QStringLiteral("idle"), 30, 1, 86400, &options->idleSeconds, error) &&
           line.number(QStringLiteral("lifetime"), 0, 0, 86400 * 365, &options->lifetimeSeconds, error);
}

int runEventLoop(const CommonOptions& options)
{
    if (options.lifetimeSeconds > 0)
        QTimer::singleShot(options.lifetimeSeconds * 1000, QCoreApplication::instance(),
                           &QCoreApplication::quit);
    return QCoreApplication::exec();
}
} // namespace

namespace ServeCommands {

int serve(const CommandLine& line)
{
    CommonOptions options;
    QString error;
    if (!line.positional().isEmpty() || !line.has(QStringLiteral("phone")) ||
        !line.has(QStringLiteral("url")))
        return complain(
            QStringLiteral("usage: serve --phone FILE --url URL [--host H] [--idle S] [--lifetime S]"));
    if (!readCommonOptions(line, &options, &error))
        return complain(error);
    ConnectionUrl url;
    if (!ConnectionUrl::parse(line.value(QStringLiteral("url")), &url))
        return complain(QStringLiteral("not a connection URL: ") + line.value(QStringLiteral("url")));
    PhoneProfile phone;
    if (!phone.load(line.value(QStringLiteral("phone")), &error))
        return complain(error);

    ExchangeServer server(phone, url, int(options.idleSeconds));
    if (!server.listen(options.host, &error))
        return complain(error);
    QObject::connect(&server, &ExchangeServer::done, QCoreApplication::instance(), &QCoreApplication::quit,
                     Qt::QueuedConnection);
    return runEventLoop(options);
}

int wifi(const CommandLine& line)
{
    CommonOptions options;
    QString error;
    qint64 port = 0;
    if (!line.positional().isEmpty() || !line.has(QStringLiteral("phone")))
        return complain(
            QStringLiteral("usage: wifi --phone FILE [--port P] [--host H] [--idle S] [--lifetime S]"));
    if (!readCommonOptions(line, &options, &error) ||
        !line.number(QStringLiteral("port"), 44441, 1, 65535, &port, &error))
        return complain(error);
    PhoneProfile phone;
    if (!phone.load(line.value(QStringLiteral("phone")), &error))
        return complain(error);

    WifiControl control(line.value(QStringLiteral("phone")), options.host, int(options.idleSeconds));
    if (!control.listen(quint16(port), &error))
        return complain(error);
    return runEventLoop(options);
}

} // namespace ServeCommands
