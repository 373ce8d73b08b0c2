#include "export/ExportTarget.h"

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
    ExportTarget target;
    target.format = chosen->format;
    target.path = path;
    if (chosen->format == Pdf || chosen->format == Html) {
        if (hasSuffix)
            target.path = QDir(info.path()).filePath(info.baseName());
        target.path += QLatin1String(chosen->suffix);
    } else if (!hasSuffix) {
        target.path += QLatin1String(chosen->suffix);
    }
    return target;
}
