#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>

// One message of a local database of the earlier format.
struct OldSmsRow
{
    QString address;
    std::optional<QByteArray> body; // the plain text's bytes; none: NULL
    QString person;
    qint64 date = 0; // seconds since 1970-01-01 UTC
    int isSend = 0;
};

// Writes a local database of the earlier format at path: a table of the rows
// behind the view "view_sms", bodies enciphered as that format kept them.
// Throws std::exception on failure.
void writeOldLocalDatabase(const QString& path, const QList<OldSmsRow>& rows);

// Rows of generated, realistic messages, the same for the same seed.
QList<OldSmsRow> generatedOldRows(int count, quint32 seed);
