#include "tools/phonesim/RestoreExchange.h"

#include "tools/phonesim/JsonMembers.h"
#include "tools/phonesim/SimState.h"

#include <QFile>
#include <QFileInfo>

namespace {
bool decodeBase64(const QByteArray& field, QString* text)
{
    const auto decoded = QByteArray::fromBase64Encoding(field, QByteArray::AbortOnBase64DecodingErrors);
    if (decoded.decodingStatus != QByteArray::Base64DecodingStatus::Ok)
        return false;
    *text = QString::fromUtf8(decoded.decoded);
    return true;
}

// date,sent,address,body (texts in Base64) as a line of the restored file;
// empty when the record is malformed.
QByteArray recordAsJsonLine(const QByteArray& record)
{
    const QList<QByteArray> fields = record.split(',');
    if (fields.size() != 4)
        return QByteArray();
    bool dateOk = false;
    const qint64 date = fields.at(0).toLongLong(&dateOk);
    QString address;
    QString body;
    if (!dateOk || (fields.at(1) != "0" && fields.at(1) != "1") || !decodeBase64(fields.at(2), &address) ||
        !decodeBase64(fields.at(3), &body))
        return QByteArray();
    return "{\"date\":" + QByteArray::number(date) + ",\"sent\":" + fields.at(1) +
           ",\"address\":" + JsonMembers::quote(address) + ",\"body\":" + JsonMembers::quote(body) + "}\n";
}
} // namespace

RestoreExchange::RestoreExchange(QTcpSocket* socket, const PhoneProfile& phone, QObject* parent)
    : Exchange(ExchangeKind::Restore, socket, phone, parent)
{}

void RestoreExchange::begin()
{
    waitingForDefaultApp = phone().needsDefaultSmsApp();
    send(waitingForDefaultApp ? "$defsmsapp:1\n" : "$defsmsapp:0\n");
}

void RestoreExchange::handleLine(const QByteArray& line)
{
    if (hasTag(line, "$error:")) {
        close();
    } else if (waitingForDefaultApp) {
        if (hasTag(line, "$defsmsapp:"))
            waitingForDefaultApp = false;
        else
            failWith(QStringLiteral("unexpected line"));
    } else if (hasTag(line, "$bye:")) {
        close();
    } else {
        handleBatchLine(line);
    }
}

void RestoreExchange::handleBatchLine(const QByteArray& line)
{
    if (!inBatch && hasTag(line, "$batch:")) {
        inBatch = true;
        pending.clear();
    } else if (inBatch && hasTag(line, "$sms:")) {
        receiveRecord(line.mid(5));
    } else if (inBatch && hasTag(line, "$end:")) {
        inBatch = false;
        finishBatch();
    } else {
        failWith(QStringLiteral("unexpected line"));
    }
}

void RestoreExchange::receiveRecord(const QByteArray& record)
{
    const QByteArray jsonLine = recordAsJsonLine(record);
    if (jsonLine.isEmpty())
        failWith(QStringLiteral("bad record"));
    else
        pending.append(jsonLine);
}

void RestoreExchange::finishBatch()
{
    const bool faulty = ++batchesDone == phone().faultBatch();
    logBatch(pending.size());
    if (faulty && fault() == QLatin1String("close-mid-batch")) {
        store(pending.mid(0, (pending.size() + 1) / 2));
        close();
    } else if (faulty && fault() == QLatin1String("ack-error")) {
        failWith(QStringLiteral("Simulated failure on the phone."));
    } else {
        store(pending);
        acknowledgeBatch(faulty);
    }
    pending.clear();
}

void RestoreExchange::acknowledgeBatch(bool faulty)
{
    if (faulty && fault() == QLatin1String("never-ack"))
        fallSilent();
    else if (faulty && fault() == QLatin1String("wrong-ack"))
        send("$bye:\n");
    else
        send("$batch:\n");
}

// One line per batch received: the number of its messages.
void RestoreExchange::logBatch(qsizetype size) const
{
    const QString path = SimState().restoredFile(phone().serial()) + QStringLiteral(".batches");
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Append))
        file.write(QByteArray::number(size) + '\n');
}

void RestoreExchange::store(const QList<QByteArray>& lines) const
{
    if (lines.isEmpty())
        return;
    const SimState state;
    const QString path = state.restoredFile(phone().serial());
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append)) {
        qWarning("cannot write %s: %s", qPrintable(path), qPrintable(file.errorString()));
        return;
    }
    file.write(lines.join());
}
