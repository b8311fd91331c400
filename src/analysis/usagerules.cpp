#include "usagerules.h"

#include <algorithm>

namespace UsageRules {

namespace {

bool isWordChar(QChar c)
{
    const ushort u = c.unicode();
    return (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || (u >= '0' && u <= '9') || u == '_';
}

} // namespace

QVector<QStringView> triggerPartViews(QStringView trigger)
{
    QVector<QStringView> parts;
    forEachTriggerPart(trigger, [&parts](QStringView part) { parts.append(part); });
    return parts;
}

QStringList triggerParts(const QString &trigger)
{
    QStringList parts;
    const QVector<QStringView> views = triggerPartViews(trigger);
    for (const QStringView part : views)
        parts.append(part.toString());
    return parts;
}

bool isComparisonPart(const QString &part)
{
    return isComparisonPart(QStringView(part));
}

bool isComparisonPart(QStringView part)
{
    for (const QChar c : part) {
        if (c == QLatin1Char('=') || c == QLatin1Char('<') || c == QLatin1Char('>'))
            return true;
    }
    return false;
}

bool isWordBoundary(QStringView text, int pos)
{
    const bool before = pos > 0 && isWordChar(text.at(pos - 1));
    const bool after = pos < text.size() && isWordChar(text.at(pos));
    return before != after;
}

bool containsWord(const QString &text, const QString &name)
{
    if (name.isEmpty())
        return false;
    for (int pos = text.indexOf(name); pos >= 0; pos = text.indexOf(name, pos + 1)) {
        if (isWordBoundary(text, pos) && isWordBoundary(text, pos + name.size()))
            return true;
    }
    return false;
}

bool eventUsedInTrigger(const QString &trigger, const QString &event)
{
    const QStringList parts = triggerParts(trigger);
    for (const QString &part : parts) {
        if (!isComparisonPart(part) && containsWord(part, event))
            return true;
    }
    return false;
}

bool variableUsedInTrigger(const QString &trigger, const QString &variable)
{
    const QStringList parts = triggerParts(trigger);
    for (const QString &part : parts) {
        if (isComparisonPart(part) && containsWord(part, variable))
            return true;
    }
    return false;
}

bool variableUsedInActions(const QStringList &actions, const QString &variable)
{
    for (const QString &entry : actions) {
        if (entry.contains(variable))
            return true;
    }
    return false;
}

bool actionUsedInActions(const QStringList &actions, const QString &action)
{
    return actions.contains(action);
}

bool actionUsedLoosely(const QStringList &actions, const QString &action)
{
    return variableUsedInActions(actions, action);
}

bool eventUsedByAny(const QVector<TransitionText> &transitions, const QString &event)
{
    return std::any_of(transitions.cbegin(), transitions.cend(),
                       [&event](const TransitionText &t) { return eventUsedInTrigger(t.trigger, event); });
}

bool actionUsedByAny(const QVector<TransitionText> &transitions, const QString &action)
{
    return std::any_of(transitions.cbegin(), transitions.cend(),
                       [&action](const TransitionText &t) { return actionUsedInActions(t.actions, action); });
}

bool variableUsedByAny(const QVector<TransitionText> &transitions, const QString &variable)
{
    return std::any_of(transitions.cbegin(), transitions.cend(), [&variable](const TransitionText &t) {
        return variableUsedInTrigger(t.trigger, variable) || variableUsedInActions(t.actions, variable);
    });
}

} // namespace UsageRules
