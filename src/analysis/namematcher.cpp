#include "namematcher.h"

#include <QQueue>

namespace {

const int kAsciiSize = 128;

} // namespace

NameMatcher::NameMatcher(const QStringList &names) : m_asciiClass(kAsciiSize, 0)
{
    for (const QString &name : names) {
        for (const QChar c : name) {
            if (charClass(c) != 0)
                continue;
            if (c.unicode() < kAsciiSize)
                m_asciiClass[c.unicode()] = m_classCount++;
            else
                m_otherClass.insert(c, m_classCount++);
        }
    }
    buildTrie(names);
    buildLinks();
}

int NameMatcher::charClass(QChar c) const
{
    const ushort u = c.unicode();
    return u < kAsciiSize ? m_asciiClass.at(u) : m_otherClass.value(c, 0);
}

// The trie of the names; missing transitions are -1 until buildLinks() fills them.
void NameMatcher::buildTrie(const QStringList &names)
{
    m_next.fill(-1, m_classCount);
    m_firstName.append(-1);
    m_sameName.fill(-1, names.size());
    m_length.reserve(names.size());
    for (int index = 0; index < names.size(); ++index) {
        const QString &name = names.at(index);
        m_length.append(name.size());
        if (name.isEmpty())
            continue;
        int node = 0;
        for (const QChar c : name) {
            const int slot = node * m_classCount + charClass(c);
            if (m_next.at(slot) < 0) {
                m_next[slot] = m_firstName.size();
                m_next.insert(m_next.size(), m_classCount, -1);
                m_firstName.append(-1);
            }
            node = m_next.at(slot);
        }
        // Keep equal names in list order.
        int *link = &m_firstName[node];
        while (*link >= 0)
            link = &m_sameName[*link];
        *link = index;
    }
}

// Breadth-first over the trie: each node's suffix link is found from its
// parent's, and every missing transition borrows the suffix link's, so that
// scanning never has to walk back.
void NameMatcher::buildLinks()
{
    const int nodeCount = m_firstName.size();
    QVector<int> suffix(nodeCount, 0);
    m_outputLink.fill(-1, nodeCount);
    QQueue<int> queue;
    for (int c = 0; c < m_classCount; ++c) {
        int &child = m_next[c];
        if (child > 0)
            queue.enqueue(child);
        else
            child = 0;
    }
    while (!queue.isEmpty()) {
        const int node = queue.dequeue();
        const int base = node * m_classCount;
        for (int c = 0; c < m_classCount; ++c) {
            const int fallback = m_next.at(suffix.at(node) * m_classCount + c);
            int &child = m_next[base + c];
            if (child < 0) {
                child = fallback;
                continue;
            }
            suffix[child] = fallback;
            m_outputLink[child] = m_firstName.at(fallback) >= 0 ? fallback : m_outputLink.at(fallback);
            queue.enqueue(child);
        }
    }
}
