#include "tools/gen_old_localdb/OldLocalDbWriter.h"

#include "base/Rc4.h"
#include "jobs/OldLocalDbFormat.h"
#include "store/MessageSet.h"
#include "store/StoredDate.h"
#include "sql/Sqlite3DB.h"
#include "tools/gen_messages/MessageGenerator.h"

#include <QFile>

#include <algorithm>

void writeOldLocalDatabase(const QString& path, const QList<OldSmsRow>& rows)
{
    QFile::remove(path);
    Sqlite3DB db;
    db.openThrow(path, Sqlite3DB::ReadWriteCreate);
    db.executeThrow(QStringLiteral("create table sms_data(id integer primary key, address text, body blob, "
                                   "person text, date integer, is_send integer)"));
    db.executeThrow(QStringLiteral("create view view_sms as select address, body, person, date, is_send from "
                                   "sms_data order by id"));
    db.beginTran();
    const QByteArray key(OldLocalDbFormat::kKey);
    for (const OldSmsRow& row : rows) {
        Sqlite3Sql sql(QStringLiteral("insert into sms_data(address, body, person, date, is_send) "
                                      "values(?, ?, ?, ?, ?)"));
        sql.addTextParam(row.address);
        if (row.body)
            sql.addBlobParam(rc4(key, *row.body));
        else
            sql.addNullParam();
        sql.addTextParam(row.person);
        sql.addInt64Param(row.date);
        sql.addIntParam(row.isSend);
        db.executeThrow(sql);
    }
    db.commitTran();
    db.close();
}

QList<OldSmsRow> generatedOldRows(int count, quint32 seed)
{
    MessageGeneratorOptions options;
    options.messageCount = count;
    options.conversationCount = std::max(1, count / 50);
    options.seed = seed;
    MessageSet set;
    QList<OldSmsRow> rows;
    for (const _MsgMessage* m : MessageGenerator(options).generate(set)) {
        if (m->item_type != 0 || !m->handle)
            continue;
        rows.append({m->handle->id, m->text.toUtf8(), m->handle->_ct_name,
                     storedDateToUnixSeconds(m->date), m->is_from_me});
    }
    return rows;
}
