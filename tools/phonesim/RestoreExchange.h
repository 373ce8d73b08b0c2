#pragma once

#include "tools/phonesim/Exchange.h"

#include <QList>

// restore2://: the phone says whether it must first become the default
// messaging app ("$defsmsapp:"), then receives batches of messages and
// acknowledges each with "$batch:". Received messages are appended to
// restored/<serial>.jsonl of the simulator's folder, one batch at a time.
class RestoreExchange : public Exchange
{
    Q_OBJECT
public:
    RestoreExchange(QTcpSocket* socket, const PhoneProfile& phone, QObject* parent = nullptr);

protected:
    void begin() override;
    void handleLine(const QByteArray& line) override;

private:
    void handleBatchLine(const QByteArray& line);
    void receiveRecord(const QByteArray& record);
    void finishBatch();
    void acknowledgeBatch(bool faulty);
    void logBatch(qsizetype size) const;
    void store(const QList<QByteArray>& lines) const;

    bool waitingForDefaultApp = false;
    bool inBatch = false;
    int batchesDone = 0;
    QList<QByteArray> pending; // JSON lines of the open batch
};
