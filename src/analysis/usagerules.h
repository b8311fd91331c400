#ifndef USAGERULES_H
#define USAGERULES_H

#include <QString>
#include <QStringList>
#include <QVector>

// When a trigger expression or an action list uses a declared name. The
// transition editor's removal checks and the verification share these rules.
namespace UsageRules {

// The trigger cut at every "&&" and "||", empty parts dropped; the parts keep
// their blanks, "!" and parentheses.
QStringList triggerParts(const QString &trigger);
// A part holding "=", "!=", "<" or ">".
bool isComparisonPart(const QString &part);
// True when name occurs in text between word boundaries (as the regular
// expression "\bname\b" would find it, case-sensitive, without building one).
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

} // namespace UsageRules

#endif // USAGERULES_H
