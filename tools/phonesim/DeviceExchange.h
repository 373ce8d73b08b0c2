#pragma once

#include "tools/phonesim/Exchange.h"

// device2://: the phone introduces itself with "$hello:" and its information
// text, then closes on the computer's next line (normally "$bye:").
class DeviceExchange : public Exchange
{
    Q_OBJECT
public:
    DeviceExchange(QTcpSocket* socket, const PhoneProfile& phone, QObject* parent = nullptr);

protected:
    void begin() override;
    void handleLine(const QByteArray& line) override;
};
