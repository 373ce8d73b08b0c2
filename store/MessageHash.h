#pragma once

#include <QByteArray>
#include <QString>

struct _MsgMessage;

// Content hash that finds duplicates: 32 lower-case hexadecimal digits.
QString logicHash(const _MsgMessage& message);
// MD5 of bytes as an upper-case GUID text, 8-4-4-4-12.
QString guidFromBytes(const QByteArray& bytes);
