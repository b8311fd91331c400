#ifndef USAGERULES_H
#define USAGERULES_H

#include <QString>
#include <QStringList>
#include <QStringView>
#include <QVector>

// When a trigger expression or an action list uses a declared name. The
// transition editor's removal checks and the verification share these rules.
namespace UsageRules {

// The trigger cut at every "&&" and "||", empty parts dropped; the parts keep
// their blanks, "!" and parentheses.
QStringList triggerParts(const QString &trigger);
// The same parts as views into the trigger, for callers that scan many.
QVector<QStringView> triggerPartViews(QStringView trigger);
// Calls part(view) for each of those parts, in order, without building a list.
template<typename Part> void forEachTriggerPart(QStringView trigger, Part part);
// A part holding "=", "!=", "<" or ">".
bool isComparisonPart(const QString &part);
bool isComparisonPart(QStringView part);
// True when pos lies between a word character ([A-Za-z0-9_]) and a non-word
// character or an end of the text, as the regular expression "\b" decides.
bool isWordBoundary(QStringView text, int pos);
// True when name occurs in text between word boundaries (as the regular
// expression "\bname\b" would find it with the name escaped, case-sensitive,
// without building one).
bool containsWord(const QString &text, const QString &name);

// An event is used by a trigger when a part that is not a comparison holds it
// as a whole word.
bool eventUsedInTrigger(const QString &trigger, const QString &event);
// A variable is used by a trigger when a comparison part holds it as a whole word.
bool variableUsedInTrigger(const QString &trigger, const QString &variable);
// A variable is used by an action list when some entry holds it anywhere.
bool variableUsedInActions(const QStringList &actions, const QString &variable);
// An action is used by an action list when some entry equals it.
bool actionUsedInActions(const QStringList &actions, const QString &action);
// The looser test of the verification: some entry holds the action anywhere.
bool actionUsedLoosely(const QStringList &actions, const QString &action);

// The trigger and the action list of one transition, as stored.
struct TransitionText
{
    QString trigger;
    QStringList actions;
};

// Whether any of the transitions uses the name by the rules above (for
// actions the exact rule).
bool eventUsedByAny(const QVector<TransitionText> &transitions, const QString &event);
bool actionUsedByAny(const QVector<TransitionText> &transitions, const QString &action);
bool variableUsedByAny(const QVector<TransitionText> &transitions, const QString &variable);

// Cuts as a split at the pattern "\&\&|\|\|" does: the leftmost connective
// first, so "&&&" gives one cut and leaves a "&" in the next part.
template<typename Part> void forEachTriggerPart(QStringView trigger, Part part)
{
    int start = 0;
    int i = 0;
    while (i + 1 < trigger.size()) {
        const QChar c = trigger.at(i);
        if ((c == QLatin1Char('&') || c == QLatin1Char('|')) && trigger.at(i + 1) == c) {
            if (i > start)
                part(trigger.mid(start, i - start));
            i += 2;
            start = i;
            continue;
        }
        ++i;
    }
    if (start < trigger.size())
        part(trigger.mid(start));
}

} // namespace UsageRules

#endif // USAGERULES_H
