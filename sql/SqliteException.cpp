#include "sql/SqliteException.h"

#include <QString>

SqliteException::SqliteException(int code, const QString& message, const QString& sql) : errorCode(code)
{
    QString full = message;
    if (!sql.isEmpty())
        full += QStringLiteral(" (SQL: %1)").arg(sql);
    text = full.toStdString();
}
