#pragma once

#include <QByteArray>
#include <QString>

struct _MsgAttachment
{
    qint64 rowid = 0;
    QString guid;
    int created_date = 0;
    int start_date = 0;
    QString filename;
    QString uti;
    QString mime_type;
    int transfer_state = 0;
    int is_outgoing = 0;
    QByteArray user_info;
    QString transfer_name;
    qint64 total_bytes = 0;
    QString sourcePath; // where the attachment's file lies on this computer
};
