#pragma once

#include <QStringList>

// Word material for generated message databases: sentences, short replies,
// names and emoji in the languages people actually text in.
enum class SampleLanguage
{
    English,
    German,
    French,
    Chinese,
    Russian,
    Arabic
};

namespace SampleTexts {

const QStringList& sentences(SampleLanguage language);
const QStringList& shortReplies(SampleLanguage language);
const QStringList& firstNames(SampleLanguage language);
const QStringList& lastNames(SampleLanguage language);
const QStringList& groupNames(SampleLanguage language);
// A person's full name in the language's usual order and spacing.
QString fullName(SampleLanguage language, const QString& first, const QString& last);
// Emoji, some in the Basic Multilingual Plane (U+2705, U+2764), most as surrogate pairs.
const QStringList& emoji();
// Alphanumeric senders of automatic messages (already in lower case, the form a phone load stores).
const QStringList& serviceSenders();
// Automatic message texts; %1 is a number such as a code.
const QStringList& serviceTexts();

} // namespace SampleTexts
