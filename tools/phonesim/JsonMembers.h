#pragma once

#include <QByteArray>
#include <QJsonValue>
#include <QList>
#include <QString>

// Reads the members of a JSON object straight from its text, in the order they
// are written (QJsonObject keeps its keys sorted) and with the byte range of
// each value, so that one value can be replaced without touching the rest.
// The text is expected to be valid JSON; check it with QJsonDocument first.
class JsonMembers
{
public:
    struct Member
    {
        QString key;
        qsizetype valueStart = 0; // first byte of the value
        qsizetype valueEnd = 0;   // one past its last byte
    };

    // The members of the object whose "{" is at start (-1: the first "{" of
    // the text). Empty when the text there is not an object.
    static QList<Member> scan(const QByteArray& text, qsizetype start = -1);
    // The member named key among members, or nullptr.
    static const Member* find(const QList<Member>& members, const QString& key);
    // The value of member, parsed.
    static QJsonValue value(const QByteArray& text, const Member& member);
    // text as a JSON string, quotes included.
    static QByteArray quote(const QString& text);
};
