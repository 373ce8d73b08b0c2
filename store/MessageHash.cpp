#include "store/MessageHash.h"

#include "store/MsgAttachment.h"
#include "store/MsgHandle.h"
#include "store/MsgMessage.h"

#include <QCryptographicHash>
#include <QStringList>
#include <QtEndian>

#include <algorithm>

namespace {

constexpr QChar kObjectReplacement(0xFFFC);

// The attachment file names without folder, lower-cased, in code unit order.
QStringList attachmentNames(const _MsgMessage& message)
{
    QStringList names;
    for (const _MsgAttachment* attachment : message.attachments) {
        if (!attachment || attachment->filename.isEmpty())
            continue;
        const QString& path = attachment->filename;
        const qsizetype cut =
            std::max(path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QLatin1Char('\\')));
        names.append(path.mid(cut + 1).toLower());
    }
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace

QString logicHash(const _MsgMessage& message)
{
    QCryptographicHash md5(QCryptographicHash::Md5);
    if (message.item_type != 0) {
        md5.addData(message.guid.toUtf8());
    } else {
        if (message.handle)
            md5.addData(message.handle->id.toUtf8());
        const qint32 date = qToLittleEndian<qint32>(message.date);
        md5.addData(QByteArrayView(reinterpret_cast<const char*>(&date), sizeof date));
        const char fromMe = char(message.is_from_me & 0xFF);
        md5.addData(QByteArrayView(&fromMe, 1));
        QString text = message.text;
        text.remove(kObjectReplacement);
        md5.addData(text.toUtf8());
        for (const QString& name : attachmentNames(message))
            md5.addData(name.toUtf8());
    }
    return QString::fromLatin1(md5.result().toHex());
}

QString guidFromBytes(const QByteArray& bytes)
{
    const QString h =
        QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Md5).toHex().toUpper());
    const QChar dash(QLatin1Char('-'));
    return h.left(8) + dash + h.mid(8, 4) + dash + h.mid(12, 4) + dash + h.mid(16, 4) + dash + h.mid(20);
}
