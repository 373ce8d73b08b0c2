#pragma once

#include <QSet>
#include <QString>
#include <QStringList>

// What one export writes, kept apart until the export is complete. Every
// file is written under a temporary name beside its destination and takes
// its name only when the whole export succeeded; the folders and support
// files the export had to create are noted. Discarding removes exactly what
// this export created, so a failed or cancelled export leaves the
// destination as it was, whatever the user kept there.
class ExportOutput
{
public:
    ExportOutput() = default;
    ExportOutput(const ExportOutput&) = delete;
    ExportOutput& operator=(const ExportOutput&) = delete;

    // The temporary path to write the file that is to become finalPath: its
    // name with ".textferry-part" appended (the name cut first when both
    // would not fit in one file name).
    QString stage(const QString& finalPath);
    // A file name in folder that this export has not used yet: the name, or
    // "base (2).ext", "base (3).ext", ... (ignoring letter case); the base is
    // cut so that the name and its working name fit the file system.
    QString unusedName(const QString& folder, const QString& fileName);
    // Creates the folder with its missing parents; false when it cannot be made.
    bool makeFolder(const QString& path);
    // Copies a support file, unless its destination exists.
    void copySupportFile(const QString& from, const QString& to);
    // Gives every staged file its final name (replacing a file there).
    // Throws std::runtime_error when a file cannot take its name.
    void commit();
    // Removes the staged files and what this export created.
    void discard();
    // The text with every staged file's temporary path replaced by its final
    // one: errors name the file the user asked for, not a working name.
    QString withFinalNames(QString text) const;

private:
    struct Staged
    {
        QString temporary;
        QString final;
    };
    QList<Staged> staged;
    QStringList createdFiles;
    QStringList createdFolders; // outermost first
    QSet<QString> usedNames;    // lower case, with their folder
};
