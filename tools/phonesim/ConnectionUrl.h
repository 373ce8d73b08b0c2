#pragma once

#include <QString>

enum class ExchangeKind
{
    Device,
    Backup,
    Restore
};

// A connection URL handed to the phone: "device2://127.0.0.1:PORT",
// "backup2://..." or "restore2://...". The scheme names the exchange to serve;
// of the rest only the port counts.
struct ConnectionUrl
{
    ExchangeKind kind = ExchangeKind::Device;
    quint16 port = 0;

    // False when text has an unknown scheme or no usable port.
    static bool parse(const QString& text, ConnectionUrl* url);
    // "device", "backup" or "restore": the word phone files use for the kind.
    static QString kindName(ExchangeKind kind);
};
