#include "country/CountryLibDb.h"

#include "base/AppDirs.h"
#include "sql/Sqlite3Cursor.h"
#include "sql/Sqlite3Sql.h"

#include <QFile>

#include <stdexcept>

namespace {

const char* const kResourcePath = ":/res/countries.db";

CountryInfo readCountry(const Sqlite3Cursor& cursor)
{
    CountryInfo info;
    info.sn = cursor.getText(QStringLiteral("sn"));
    info.ln = cursor.getText(QStringLiteral("ln"));
    info.mmc = cursor.getText(QStringLiteral("mmc"));
    info.n = cursor.getText(QStringLiteral("n"));
    info.numc = cursor.getText(QStringLiteral("numc"));
    info.pnum = cursor.getText(QStringLiteral("pnum"));
    info.mobileRx = anchoredMobilePattern(cursor.getText(QStringLiteral("r1")));
    return info;
}

} // namespace

CountryLibDb::CountryLibDb(const QString& mcc) : mcc(mcc) {}

QString CountryLibDb::copyFromResources()
{
    const QString path = appDataDir().absoluteFilePath(QStringLiteral("countries.db"));
    if (QFile::exists(path))
        return path;
    QFile resource(QString::fromLatin1(kResourcePath));
    if (!resource.exists())
        throw std::runtime_error("can not find :res/countries.db.");
    if (!resource.copy(path)) {
        const QString text = QStringLiteral("can not create %1. %2").arg(path, resource.errorString());
        throw std::runtime_error(text.toUtf8().toStdString());
    }
    // A copy keeps the resource's read-only permissions; the library is opened read-write.
    QFile::setPermissions(path, QFile::permissions(path) | QFile::WriteOwner | QFile::WriteUser);
    return path;
}

void CountryLibDb::open()
{
    if (isOpen())
        return;
    openThrow(copyFromResources(), Sqlite3DB::ReadWrite);
    current = CountryInfo();
    try {
        current = findByMcc(mcc);
    } catch (...) {
        // A file that cannot be read must not stay open as if it were usable.
        close();
        throw;
    }
}

CountryInfo CountryLibDb::currentCountry()
{
    open();
    return current;
}

CountryInfo CountryLibDb::findOne(const Sqlite3Sql& sql, bool* found)
{
    Sqlite3Cursor cursor = queryThrow(sql);
    const bool hit = cursor.moveNext();
    if (found)
        *found = hit;
    return hit ? readCountry(cursor) : current;
}

CountryInfo CountryLibDb::findByMcc(const QString& mcc, bool* found)
{
    open();
    Sqlite3Sql sql(
        QStringLiteral("select c.* from mmc_sn as m inner join countries as c on m.[sn] = c.sn and m.mmc=?"));
    sql.addTextParam(mcc);
    return findOne(sql, found);
}

CountryInfo CountryLibDb::findBySn(const QString& sn, bool* found)
{
    open();
    Sqlite3Sql sql(QStringLiteral("select * from countries where sn=?"));
    sql.addTextParam(sn.toUpper());
    return findOne(sql, found);
}

QStringList CountryLibDb::callingCodes()
{
    open();
    Sqlite3Cursor cursor = queryThrow(QStringLiteral("select distinct pnum from countries where pnum <> ''"));
    QStringList codes;
    while (cursor.moveNext())
        codes.append(cursor.getText(QStringLiteral("pnum")));
    return codes;
}

QList<CountryInfo> CountryLibDb::countriesOfCallingCode(const QString& pnum)
{
    open();
    Sqlite3Sql sql(QStringLiteral("select c.*, (select count(*) from mmc_sn as m where m.sn = c.sn and "
                                  "m.mmc <> '999') as owned from countries as c where c.pnum=? "
                                  "order by owned desc, c.sn asc"));
    sql.addTextParam(pnum);
    Sqlite3Cursor cursor = queryThrow(sql);
    QList<CountryInfo> countries;
    while (cursor.moveNext())
        countries.append(readCountry(cursor));
    return countries;
}
