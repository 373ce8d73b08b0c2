#pragma once

#include <QSharedPointer>
#include <QString>
#include <QStringList>

class IOS6MessageDb;

// The local databases: one message database per folder directly inside
// localDbDir(), named after its folder. The one place that knows their name
// rule, lists them, finds one by name and makes a new one; the window (its
// listing, backup and import), the database picker and the command line all
// go through it.
//
//     const QString name = LocalDbCatalogue::find(typed); // "work" finds "Work"
//     if (name.isEmpty() && LocalDbCatalogue::create(typed)) ... // made just now
//     auto db = LocalDbCatalogue::database(name);
namespace LocalDbCatalogue {

// Whether a name can name a local database: the name of a folder directly
// inside the local-databases folder that the listing shows. Not empty nor
// only blanks, none of \ / : * ? " < > |, no control character, and no
// leading dot (a hidden folder, "." and ".." among them). Leading and
// trailing blanks are allowed and kept.
bool isUsableName(const QString& name);

// The names of the local databases: the folders of localDbDir(), sorted by name.
QStringList names();

// Of names, the one that is exactly name, else the first that differs from
// it only in letter case ("Alpha" and "alpha" may both exist on a
// case-sensitive disk); empty when there is none.
QString match(const QStringList& names, const QString& name);
// The same over the databases on disk: match(names(), name).
QString find(const QString& name);

// The absolute path of the folder of the database of that name.
QString folderOf(const QString& name);

// The message database of that name, not opened yet (an empty country code:
// a local database keeps its numbers' country with its correspondents).
QSharedPointer<IOS6MessageDb> database(const QString& name);

// Makes the folder of the database of that name, so that it is listed from
// now on. True when it was made just now, false when it was there already;
// throws std::runtime_error naming the folder when it can't be made.
bool create(const QString& name);

} // namespace LocalDbCatalogue
