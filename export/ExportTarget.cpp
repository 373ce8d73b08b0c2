#include "export/ExportTarget.h"

#include "base/AppDirs.h"

#include <QDir>
#include <QFileInfo>

namespace {

struct FilterRule
{
    const char* filter;
    const char* name; // on the command line
    unsigned format;
    const char* suffix; // appended to a file name without suffix, or to a folder name
};

const FilterRule kRules[] = {
    {"Text Files(*.txt)", "txt", ExportTarget::Text, ".txt"},
    {"Doc Files(*.doc)", "doc", ExportTarget::Text, ".doc"},
    {"CSV Files(*.csv)", "csv", ExportTarget::Csv, ".csv"},
    {"PDF Files(*.pdf)", "pdf", ExportTarget::Pdf, "-pdf"},
    {"HTML Files(*.html)", "html", ExportTarget::Html, "-html"},
    {"XML Backup (*.xml)", "xml", ExportTarget::Xml, ".xml"},
};

// The path with the ending appended to its file name, which is cut first when
// both would not fit in one file name.
QString withEnding(QString path, const QLatin1String& ending)
{
    const QString name = QFileInfo(path).fileName();
    path.chop(name.size());
    return path + fitFileName(name, int(ending.size())) + ending;
}

ExportTarget targetOf(const FilterRule& rule, const QString& path)
{
    const QFileInfo info(path);
    const bool hasSuffix = !info.suffix().isEmpty();
    const QLatin1String ending(rule.suffix);
    ExportTarget target;
    target.format = rule.format;
    target.path = path;
    if (rule.format == ExportTarget::Pdf || rule.format == ExportTarget::Html)
        target.path = withEnding(hasSuffix ? QDir(info.path()).filePath(info.baseName()) : path, ending);
    else if (!hasSuffix)
        target.path = withEnding(path, ending);
    return target;
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
    return targetOf(*chosen, path);
}

std::optional<ExportTarget> ExportTarget::forFormatName(const QString& path, const QString& name)
{
    const QString lower = name.toLower();
    for (const FilterRule& rule : kRules) {
        if (lower == QLatin1String(rule.name))
            return targetOf(rule, path);
    }
    return std::nullopt;
}
