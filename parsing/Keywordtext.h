// SPDX-License-Identifier: GPL-3.0-or-later
// Comparisons of a word's text with the keywords an override looks for.
#pragma once

#include <QString>

#include <algorithm>
#include <initializer_list>

namespace VXKeyword {

// The word is the keyword, whatever the case of either.
inline bool Is(const QString &text, const char *keyword)
{
    const QLatin1String word(keyword);
    return text.size() == word.size() && text.compare(word, Qt::CaseInsensitive) == 0;
}

inline bool IsAnyOf(const QString &text, std::initializer_list<const char *> keywords)
{
    return std::any_of(keywords.begin(), keywords.end(),
                       [&text](const char *keyword) { return Is(text, keyword); });
}

// A name as programming languages spell them: a letter or "_", then letters, digits and "_".
inline bool IsIdentifier(const QString &text)
{
    if (text.isEmpty() || !(text.front().isLetter() || text.front() == QLatin1Char('_')))
        return false;
    return std::all_of(text.cbegin(), text.cend(),
                       [](QChar c) { return c.isLetterOrNumber() || c == QLatin1Char('_'); });
}

} // namespace VXKeyword
