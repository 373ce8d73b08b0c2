#include "tools/phonesim/ShellWords.h"

namespace {
bool isBlank(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\t') || c == QLatin1Char('\n');
}

QString syntaxError(const QString& what)
{
    return QStringLiteral("/system/bin/sh: syntax error: %1\n").arg(what);
}
} // namespace

bool splitShellWords(const QString& line, QStringList* words, QString* error)
{
    words->clear();
    QString word;
    bool inWord = false;
    for (qsizetype i = 0; i < line.size(); ++i) {
        const QChar c = line.at(i);
        if (isBlank(c)) {
            if (inWord)
                words->append(word);
            word.clear();
            inWord = false;
            continue;
        }
        inWord = true;
        if (c == QLatin1Char('\'')) {
            const qsizetype close = line.indexOf(QLatin1Char('\''), i + 1);
            if (close < 0) {
                *error = syntaxError(QStringLiteral("unterminated quoted string"));
                return false;
            }
            word += line.mid(i + 1, close - i - 1);
            i = close;
        } else if (c == QLatin1Char('"')) {
            qsizetype j = i + 1;
            for (; j < line.size() && line.at(j) != QLatin1Char('"'); ++j) {
                if (line.at(j) == QLatin1Char('\\') && j + 1 < line.size() &&
                    QStringLiteral("\\\"$`").contains(line.at(j + 1)))
                    ++j;
                word += line.at(j);
            }
            if (j >= line.size()) {
                *error = syntaxError(QStringLiteral("unterminated quoted string"));
                return false;
            }
            i = j;
        } else if (c == QLatin1Char('\\')) {
            if (i + 1 < line.size())
                word += line.at(++i);
        } else if (c == QLatin1Char('(') || c == QLatin1Char(')')) {
            *error = syntaxError(QStringLiteral("unexpected '%1'").arg(c));
            return false;
        } else if (QStringLiteral(";|&<>").contains(c)) {
            *error = QStringLiteral("stand-in shell: '%1' is not supported\n").arg(c);
            return false;
        } else {
            word += c;
        }
    }
    if (inWord)
        words->append(word);
    return true;
}
