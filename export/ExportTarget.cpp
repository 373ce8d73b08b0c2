#include "export/ExportTarget.h"

#include "base/AppDirs.h"

#include <QDir>
#include <QFileInfo>

namespace {

struct FilterRule
{
    const char* filter;
    unsigned format;
    const char* suffix; // appended to a file name without suffix, or to a folder name
};

const FilterRule kRules[] = {
    {"Text Files(*.txt)", ExportTarget::Text, ".txt"},   {"Doc Files(*.doc)", ExportTarget::Text, ".doc"},
    {"CSV Files(*.csv)", ExportTarget::Csv, ".csv"},     {"PDF Files(*.pdf)", ExportTarget::Pdf, "-pdf"},
    {"HTML Files(*.html)", ExportTarget::Html, "-html"}, {"XML Backup (*.xml)", ExportTarget::Xml, ".xml"},
};

// The path with the ending appended to its file name, which is cut first when
// both would not fit in one file name.
QString withEnding(QString path, const QLatin1String& ending)
{
    const QString name = QFileInfo(path).fileName();
    path.chop(name.size());
    return path + fitFileName(name, int(ending.size())) + ending;
}

} // namespace

QStringList ExportTarget::filters()
{
    QStringList list;
    for (const FilterRule& rule : kRules)
        list << QLatin1String(rule.filter);
    return list;
}

ExportTarget ExportTarget::forChoice(const QString& path, const QString& filter)
{
    const FilterRule* chosen = &kRules[0];
    for (const FilterRule& rule : kRules) {
        if (filter == QLatin1String(rule.filter))
            chosen = &rule;
    }
    const QFileInfo info(path);
    const bool hasSuffix = !info.suffix().isEmpty();
    const QLatin1String ending(chosen->suffix);
    ExportTarget target;
    target.format = chosen->format;
    target.path = path;
    if (chosen->format == Pdf || chosen->format == Html)
        target.path = withEnding(hasSuffix ? QDir(info.path()).filePath(info.baseName()) : path, ending);
    else if (!hasSuffix)
        target.path = withEnding(path, ending);
    return target;
}
