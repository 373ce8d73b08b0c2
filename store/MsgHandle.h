#pragma once

#include <QByteArray>
#include <QString>

// A correspondent: one address on one service.
struct _MsgHandle
{
    qint64 rowid = 0;
    QString id;      // the address, normalised
    QString country; // lower-case region code
    QString service = QStringLiteral("SMS");
    QString uncanonicalized_id;
    QString _ct_name; // contact name, empty when the phone had none
    QByteArray _photo;
};
