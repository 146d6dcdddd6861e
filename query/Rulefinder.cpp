// SPDX-License-Identifier: GPL-3.0-or-later
#include "query/Rulefinder.h"

#include "parsing/Globals.h"

#include <algorithm>
#include <map>

namespace {

bool Joins(const TVXRuleWord &word)
{
    const QString text = word.Text.trimmed().toUpper();
    static const QStringList joiners{QStringLiteral("AND"),   QStringLiteral("OR"),
                                     QStringLiteral("NOT"),   QStringLiteral("&&"),
                                     QStringLiteral("||"),    QStringLiteral("ANDALSO"),
                                     QStringLiteral("ORELSE")};
    return joiners.contains(text) || word.Type == VXWordType::LineContinuation
           || word.Type == VXWordType::Comparison;
}

int BracketBalance(const TVXRuleWord &word)
{
    const QString text = word.Text.trimmed();
    if (text == QLatin1String("("))
        return 1;
    if (text == QLatin1String(")"))
        return -1;
    return 0;
}

// The rule's row and the following rows up to the bound that its condition runs on to.
QStringList ConditionLines(TVXDataAccessInterface *db, const TVXWordPlace &entry,
                           const TVXRuleWord &rule, int bound)
{
    QStringList lines;
    TVXWordPlace row = entry;
    row.Row = rule.Row;
    if (const std::optional<QString> text = VXRuleQueries::EntryRowText(db, row))
        lines << text->trimmed();
    if (rule.Type == VXWordType::Else)
        return lines;
    // The words of each row, in order; the rule's row counts from the rule word on.
    std::map<int, QList<TVXRuleWord>> rows;
    for (const TVXRuleWord &word : VXRuleQueries::ConditionWords(
                 db, entry, rule.Row, bound, {VXWordType::MainDelimiter, VXWordType::CommentWord}))
        if (word.Row > rule.Row || word.Word >= rule.Word)
            rows[word.Row].append(word);
    auto current = rows.find(rule.Row);
    if (current == rows.end())
        return lines;
    int open = 0;
    for (const TVXRuleWord &word : current->second)
        open += BracketBalance(word);
    for (auto next = std::next(current); next != rows.end(); current = next++) {
        if (next->second.isEmpty()
            || !VXRuleFinder::ContinuesCondition(current->second.last(), next->second.first(),
                                                 open))
            break;
        for (const TVXRuleWord &word : next->second)
            open += BracketBalance(word);
        row.Row = next->first;
        if (const std::optional<QString> text = VXRuleQueries::EntryRowText(db, row))
            lines << text->trimmed();
    }
    return lines;
}

} // namespace

namespace VXRuleFinder {

const QList<int> &RuleWordTypes()
{
    static const QList<int> types{VXWordType::If,       VXWordType::ElseIf, VXWordType::Else,
                                  VXWordType::Evaluate, VXWordType::When,   VXWordType::LoopKeyword,
                                  VXWordType::LoopStart};
    return types;
}

bool IsOpener(int wordType)
{
    return wordType == VXWordType::If || wordType == VXWordType::Evaluate
           || wordType == VXWordType::LoopKeyword;
}

bool ContinuesCondition(const TVXRuleWord &previousLast, const TVXRuleWord &first, int openBrackets)
{
    return openBrackets > 0 || Joins(first) || Joins(previousLast)
           || previousLast.Text.trimmed() == QLatin1String("(");
}

QList<TVXRule> RulesFor(TVXDataAccessInterface *db, const TVXWordPlace &row)
{
    const std::optional<int> level = VXRuleQueries::RowLevel(db, row);
    if (!level)
        return {};
    QList<TVXRuleWord> candidates = VXRuleQueries::RuleCandidates(db, row, *level, RuleWordTypes());
    QList<TVXRule> rules;
    int bound = row.Row;
    int lastType = 0;
    int lastLevel = 0;
    while (!candidates.isEmpty()) {
        const TVXRuleWord candidate = candidates.takeLast();
        if (VXRuleQueries::BlockEndsBefore(db, row, candidate, bound))
            continue;
        if (lastType != 0 && candidate.Level == lastLevel
            && ((IsOpener(candidate.Type) && IsOpener(lastType))
                || (candidate.Type == VXWordType::When && lastType == VXWordType::When)))
            continue;
        if (candidate.Row != row.Row)
            rules.prepend({candidate, ConditionLines(db, row, candidate, bound)});
        bound = candidate.Row;
        lastType = candidate.Type;
        lastLevel = candidate.Level;
    }
    return rules;
}

QList<TVXRuleRow> RulesBetween(TVXDataAccessInterface *db, const TVXWordPlace &hit, int previousHit,
                               int hitLevel)
{
    std::map<int, int> levels;
    for (const TVXRuleWord &word : VXRuleQueries::WordsOfTypeUpTo(db, hit, VXWordType::Return))
        if (word.Row > previousHit && word.Row < hit.Row)
            levels.emplace(word.Row, word.Level);
    for (const TVXRuleWord &word :
         VXRuleQueries::RuleWordsBetween(db, hit, previousHit, hit.Row, RuleWordTypes()))
        if (word.Level <= hitLevel) {
            const auto [at, added] = levels.emplace(word.Row, word.Level);
            if (!added)
                at->second = std::min(at->second, word.Level);
        }
    QList<TVXRuleRow> rules;
    TVXWordPlace row = hit;
    for (const auto &[number, level] : levels) {
        row.Row = number;
        if (const std::optional<QString> text = VXRuleQueries::EntryRowText(db, row))
            rules.append({number, level, text->trimmed()});
    }
    return rules;
}

} // namespace VXRuleFinder
