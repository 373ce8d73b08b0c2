#include "tools/phonesim/JsonMembers.h"

#include <QJsonArray>
#include <QJsonDocument>

namespace {
bool isSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

qsizetype skipSpace(const QByteArray& text, qsizetype pos)
{
    while (pos < text.size() && isSpace(text.at(pos)))
        ++pos;
    return pos;
}

// pos is at the opening quote; returns the position after the closing one, or -1.
qsizetype skipString(const QByteArray& text, qsizetype pos)
{
    for (++pos; pos < text.size(); ++pos) {
        if (text.at(pos) == '\\')
            ++pos;
        else if (text.at(pos) == '"')
            return pos + 1;
    }
    return -1;
}

qsizetype skipNested(const QByteArray& text, qsizetype pos)
{
    int depth = 0;
    while (pos < text.size()) {
        const char c = text.at(pos);
        if (c == '"') {
            pos = skipString(text, pos);
            if (pos < 0)
                return -1;
            continue;
        }
        if (c == '{' || c == '[')
            ++depth;
        else if ((c == '}' || c == ']') && --depth == 0)
            return pos + 1;
        ++pos;
    }
    return -1;
}

qsizetype skipValue(const QByteArray& text, qsizetype pos)
{
    if (pos >= text.size())
        return -1;
    const char first = text.at(pos);
    if (first == '"')
        return skipString(text, pos);
    if (first == '{' || first == '[')
        return skipNested(text, pos);
    while (pos < text.size() && !isSpace(text.at(pos)) && text.at(pos) != ',' && text.at(pos) != '}' &&
           text.at(pos) != ']')
        ++pos;
    return pos;
}

QJsonValue parseFragment(const QByteArray& fragment)
{
    const QJsonDocument document = QJsonDocument::fromJson("[" + fragment + "]");
    return document.isArray() && !document.array().isEmpty() ? document.array().first() : QJsonValue();
}
} // namespace

QList<JsonMembers::Member> JsonMembers::scan(const QByteArray& text, qsizetype start)
{
    qsizetype pos = start < 0 ? text.indexOf('{') : start;
    if (pos < 0 || pos >= text.size() || text.at(pos) != '{')
        return {};
    QList<Member> members;
    for (pos = skipSpace(text, pos + 1); pos < text.size();) {
        if (text.at(pos) == '}')
            return members;
        const qsizetype keyEnd = text.at(pos) == '"' ? skipString(text, pos) : -1;
        if (keyEnd < 0)
            return {};
        Member member;
        member.key = parseFragment(text.mid(pos, keyEnd - pos)).toString();
        pos = skipSpace(text, keyEnd);
        if (pos >= text.size() || text.at(pos) != ':')
            return {};
        member.valueStart = skipSpace(text, pos + 1);
        member.valueEnd = skipValue(text, member.valueStart);
        if (member.valueEnd < 0)
            return {};
        members.append(member);
        pos = skipSpace(text, member.valueEnd);
        if (pos < text.size() && text.at(pos) == ',')
            pos = skipSpace(text, pos + 1);
    }
    return {};
}

const JsonMembers::Member* JsonMembers::find(const QList<Member>& members, const QString& key)
{
    for (const Member& member : members) {
        if (member.key == key)
            return &member;
    }
    return nullptr;
}

QJsonValue JsonMembers::value(const QByteArray& text, const Member& member)
{
    return parseFragment(text.mid(member.valueStart, member.valueEnd - member.valueStart));
}

QByteArray JsonMembers::quote(const QString& text)
{
    const QByteArray array = QJsonDocument(QJsonArray{text}).toJson(QJsonDocument::Compact);
    return array.mid(1, array.size() - 2);
}
