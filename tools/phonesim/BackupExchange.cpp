#include "tools/phonesim/BackupExchange.h"

namespace {
QByteArray base64(const QString& text)
{
    return text.toUtf8().toBase64();
}
} // namespace

BackupExchange::BackupExchange(QTcpSocket* socket, const PhoneProfile& phone, QObject* parent)
    : Exchange(ExchangeKind::Backup, socket, phone, parent)
{}

void BackupExchange::begin()
{
    messages = PhoneMessages::of(phone());
    const qsizetype announced = fault() == QLatin1String("count-zero") ? 0 : messages.size();
    send("$count:" + QByteArray::number(announced) + "\n");
    sendNextBatch();
}

void BackupExchange::handleLine(const QByteArray& line)
{
    if (hasTag(line, "$error:"))
        close();
    else if (waiting == Waiting::Acknowledgement && hasTag(line, "$batch:"))
        sendNextBatch();
    else if (waiting == Waiting::Bye && hasTag(line, "$bye:"))
        close();
    else
        failWith(QStringLiteral("unexpected line"));
}

void BackupExchange::sendNextBatch()
{
    if (nextIndex >= messages.size()) {
        send("$bye:\n");
        waiting = Waiting::Bye;
        return;
    }
    const qsizetype end = qMin(messages.size(), nextIndex + qsizetype(phone().batchSize()));
    if (nextIndex == 0 && fault().endsWith(QLatin1String("-mid-batch"))) {
        breakOffFirstBatch(end);
        return;
    }
    send("$batch:\n" + records(nextIndex, end) + "$end:\n");
    nextIndex = end;
    waiting = Waiting::Acknowledgement;
}

// silent-mid-batch and close-mid-batch: the first half of the first batch,
// then silence or a closed connection.
void BackupExchange::breakOffFirstBatch(qsizetype end)
{
    send("$batch:\n" + records(0, (end + 1) / 2));
    waiting = Waiting::Nothing;
    if (fault() == QLatin1String("close-mid-batch"))
        close();
    else
        fallSilent();
}

QByteArray BackupExchange::records(qsizetype from, qsizetype to) const
{
    QByteArray bytes;
    bytes.reserve((to - from) * 160);
    for (qsizetype i = from; i < to; ++i)
        bytes += "$sms:" + record(messages.at(i)) + "\n";
    return bytes;
}

// date,direction,address,name,body,subject with the texts in Base64.
QByteArray BackupExchange::record(const PhoneMessage& message) const
{
    QByteArray fields = QByteArray::number(message.dateMs) + ',' + QByteArray::number(message.type) + ',' +
                        base64(message.address) + ',' + base64(message.name) + ',' + base64(message.body);
    if (fault() == QLatin1String("five-fields"))
        return fields;
    fields += ',' + base64(message.subject);
    if (fault() == QLatin1String("seven-fields"))
        fields += ",extra";
    return fields;
}
