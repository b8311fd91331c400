#ifndef NAMEMATCHER_H
#define NAMEMATCHER_H

#include <QHash>
#include <QStringList>
#include <QStringView>
#include <QVector>

// Finds every occurrence of a fixed list of names in a text in one pass over
// the text (an Aho-Corasick automaton), whatever characters the names hold.
// Checking thousands of transitions against hundreds of declared names this
// way costs one table step per character instead of one search per name.
class NameMatcher
{
public:
    // Empty names never match. Equal names all match at the same place.
    explicit NameMatcher(const QStringList &names);

    // Calls found(index, start) for each occurrence of names[index] that
    // starts at text[start], in order of the occurrence's end.
    template<typename Found> void scan(QStringView text, Found found) const;

    int length(int index) const { return m_length.at(index); }

private:
    int charClass(QChar c) const;
    int step(int node, QChar c) const { return m_next.at(node * m_classCount + charClass(c)); }
    void buildTrie(const QStringList &names);
    void buildLinks();

    // Characters that occur in no name share class 0, which always leads back
    // to the root; the others are numbered from 1.
    int m_classCount = 1;
    QVector<int> m_asciiClass;
    QHash<QChar, int> m_otherClass;

    // m_next[node * m_classCount + class]: the automaton's full transition table.
    QVector<int> m_next;
    // For each node, the first name ending exactly there (-1 if none), and the
    // nearest node on its suffix chain that ends a name (-1 if none).
    QVector<int> m_firstName;
    QVector<int> m_outputLink;
    // Further names equal to a given one, chained.
    QVector<int> m_sameName;
    QVector<int> m_length;
};

template<typename Found> void NameMatcher::scan(QStringView text, Found found) const
{
    int node = 0;
    for (int i = 0; i < text.size(); ++i) {
        node = step(node, text.at(i));
        int out = m_firstName.at(node) >= 0 ? node : m_outputLink.at(node);
        for (; out >= 0; out = m_outputLink.at(out)) {
            for (int name = m_firstName.at(out); name >= 0; name = m_sameName.at(name))
                found(name, i + 1 - m_length.at(name));
        }
    }
}

#endif // NAMEMATCHER_H
