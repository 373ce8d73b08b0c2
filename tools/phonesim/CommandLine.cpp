#include "tools/phonesim/CommandLine.h"

bool CommandLine::parse(const QStringList& args, const QStringList& knownOptions, QString* error)
{
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& arg = args.at(i);
        if (!arg.startsWith(QLatin1String("--"))) {
            positionalArgs.append(arg);
            continue;
        }
        const QString name = arg.mid(2);
        if (!knownOptions.contains(name)) {
            *error = QStringLiteral("unknown option ") + arg;
            return false;
        }
        if (i + 1 >= args.size()) {
            *error = QStringLiteral("option ") + arg + QStringLiteral(" needs a value");
            return false;
        }
        options.insert(name, args.at(++i));
    }
    return true;
}

QString CommandLine::value(const QString& name, const QString& fallback) const
{
    return options.value(name, fallback);
}

bool CommandLine::number(const QString& name, qint64 fallback, qint64 low, qint64 high, qint64* result,
                         QString* error) const
{
    if (!has(name)) {
        *result = fallback;
        return true;
    }
    bool ok = false;
    *result = value(name).toLongLong(&ok);
    if (ok && *result >= low && *result <= high)
        return true;
    *error = QStringLiteral("--%1 wants a number from %2 to %3").arg(name).arg(low).arg(high);
    return false;
}
