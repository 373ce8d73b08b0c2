#include "tools/phonesim/DeviceExchange.h"

DeviceExchange::DeviceExchange(QTcpSocket* socket, const PhoneProfile& phone, QObject* parent)
    : Exchange(ExchangeKind::Device, socket, phone, parent)
{}

void DeviceExchange::begin()
{
    send("$hello:" + phone().infoText() + "\n");
}

void DeviceExchange::handleLine(const QByteArray& line)
{
    Q_UNUSED(line);
    close();
}
