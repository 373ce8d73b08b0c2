#include "android/AdbOutput.h"

#include <QIODevice>
#include <QRegularExpression>
#include <QStringList>
#include <QTextStream>

namespace {

// Every line of the text, trimmed, as a text stream reads it.
QStringList trimmedLines(const QString& text)
{
    QStringList lines;
    QString copy = text;
    QTextStream stream(&copy, QIODevice::ReadOnly);
    while (!stream.atEnd())
        lines.append(stream.readLine().trimmed());
    return lines;
}

bool isServerNotice(const QString& line)
{
    static const QRegularExpression notice(
        QStringLiteral("^(\\* daemon not running.*|\\* daemon started successfully.*|adb server version .* "
                       "killing\\.\\.\\.)$"));
    return notice.match(line.trimmed()).hasMatch();
}

} // namespace

QString adbText(const QByteArray& bytes)
{
    const qsizetype nul = bytes.indexOf('\0');
    return QString::fromLatin1(nul < 0 ? bytes : bytes.left(nul));
}

QString withoutServerNotices(const QString& standardError)
{
    QStringList kept;
    for (const QString& line : standardError.split(QLatin1Char('\n'))) {
        if (!isServerNotice(line))
            kept.append(line);
    }
    const QString rest = kept.join(QLatin1Char('\n'));
    return rest.trimmed().isEmpty() ? QString() : rest;
}

QList<AdbDevice> parseAdbDevices(const QString& output)
{
    static const QRegularExpression entry(
        QStringLiteral("([a-zA-Z0-9\\-_]+)[^a-zA-Z0-9\\-_]+([a-zA-Z0-9\\-_]+)"));
    QList<AdbDevice> devices;
    bool listing = false;
    for (const QString& line : trimmedLines(output)) {
        if (!listing) {
            listing = line.compare(QLatin1String("List of devices attached"), Qt::CaseInsensitive) == 0;
            continue;
        }
        const QRegularExpressionMatch match = entry.match(line);
        if (!match.hasMatch())
            continue;
        devices.append(AdbDevice{line, match.captured(1), match.captured(2)});
    }
    return devices;
}

QSet<QString> parseInstalledPackages(const QString& output)
{
    QSet<QString> packages;
    const QLatin1String prefix("package:");
    for (const QString& line : trimmedLines(output)) {
        if (line.startsWith(prefix))
            packages.insert(line.mid(prefix.size()).trimmed());
    }
    return packages;
}

bool installSucceeded(const QString& output)
{
    for (const QString& line : trimmedLines(output)) {
        if (line.compare(QLatin1String("Success"), Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

bool activityManagerFailed(const QString& output)
{
    for (const QString& line : trimmedLines(output)) {
        if (line.toLower().startsWith(QLatin1String("error:")))
            return true;
    }
    return false;
}
