#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// The export's formats as the save dialog of the export command and the
// command line name them, and what a choice means: the file filters, and for
// a chosen filter (or format name) the export format and the destination
// path adjusted to it. One table holds each format's filter, name and ending.
struct ExportTarget
{
    enum Format : unsigned
    {
        Text = 0, // also the document filter
        Csv = 1,
        Pdf = 2,  // a folder of one file per conversation
        Html = 3, // likewise, with support folders
        Xml = 4,  // the backup file of the Android SMS backup app
    };

    unsigned format = Text;
    QString path;

    // "Text Files(*.txt)", "Doc Files(*.doc)", "CSV Files(*.csv)", "PDF Files(*.pdf)", "HTML Files(*.html)",
    // "XML Backup (*.xml)".
    static QStringList filters();
    // The format of the filter and the path adjusted to it: a missing suffix
    // added for the files; for the folders, the name cut at its first dot
    // when it has a suffix, then "-pdf" or "-html" appended.
    static ExportTarget forChoice(const QString& path, const QString& filter);
    // The same for a format named on the command line: "txt", "doc", "csv",
    // "pdf", "html" or "xml", in any letter case; none for another name.
    static std::optional<ExportTarget> forFormatName(const QString& path, const QString& name);
};
