#pragma once

#include "tools/phonesim/Exchange.h"
#include "tools/phonesim/PhoneMessages.h"

// backup2://: the phone sends "$count:", then its messages in batches, each
// acknowledged by the computer with "$batch:", then "$bye:" and waits for the
// computer's "$bye:".
class BackupExchange : public Exchange
{
    Q_OBJECT
public:
    BackupExchange(QTcpSocket* socket, const PhoneProfile& phone, QObject* parent = nullptr);

protected:
    void begin() override;
    void handleLine(const QByteArray& line) override;

private:
    enum class Waiting
    {
        Nothing,
        Acknowledgement,
        Bye
    };

    void sendNextBatch();
    void breakOffFirstBatch(qsizetype end);
    QByteArray records(qsizetype from, qsizetype to) const;
    QByteArray record(const PhoneMessage& message) const;

    QList<PhoneMessage> messages;
    qsizetype nextIndex = 0;
    Waiting waiting = Waiting::Nothing;
};
