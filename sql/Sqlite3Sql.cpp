#include "sql/Sqlite3Sql.h"

void Sqlite3Sql::addTextParam(const QString& value)
{
    Param p;
    p.kind = Kind::Text;
    p.text = value;
    parameters.append(std::move(p));
}

void Sqlite3Sql::addIntParam(int value)
{
    Param p;
    p.kind = Kind::Int;
    p.number = value;
    parameters.append(std::move(p));
}

void Sqlite3Sql::addInt64Param(qint64 value)
{
    Param p;
    p.kind = Kind::Int64;
    p.number = value;
    parameters.append(std::move(p));
}

void Sqlite3Sql::addBlobParam(const QByteArray& value)
{
    Param p;
    p.kind = Kind::Blob;
    p.blob = value;
    parameters.append(std::move(p));
}

void Sqlite3Sql::addNullParam()
{
    parameters.append(Param());
}

void Sqlite3Sql::addVariantParam(const QVariant& value)
{
    if (!value.isValid() || value.isNull()) {
        addNullParam();
        return;
    }
    switch (value.typeId()) {
    case QMetaType::QString:
        addTextParam(value.toString());
        break;
    case QMetaType::QByteArray:
        addBlobParam(value.toByteArray());
        break;
    case QMetaType::Int:
    case QMetaType::Bool:
    case QMetaType::Short:
    case QMetaType::Char:
        addIntParam(value.toInt());
        break;
    case QMetaType::LongLong:
    case QMetaType::UInt:
    case QMetaType::Long:
        addInt64Param(value.toLongLong());
        break;
    default:
        addTextParam(value.toString());
        break;
    }
}
