#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

// Splits arguments into positional ones and "--name value" options.
class CommandLine
{
public:
    // False with *error set on an unknown option or one without its value.
    bool parse(const QStringList& args, const QStringList& knownOptions, QString* error);

    const QStringList& positional() const { return positionalArgs; }
    bool has(const QString& name) const { return options.contains(name); }
    QString value(const QString& name, const QString& fallback = QString()) const;
    // The option as a whole number in [low, high]; false with *error set otherwise.
    bool number(const QString& name, qint64 fallback, qint64 low, qint64 high, qint64* result,
                QString* error) const;

private:
    QStringList positionalArgs;
    QHash<QString, QString> options;
};
