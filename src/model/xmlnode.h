#ifndef XMLNODE_H
#define XMLNODE_H

#include <QHash>
#include <QString>
#include <memory>
#include <vector>

// One node of the project tree: an element, a text or a comment. Elements own
// their children in document order. Lookups by tag return the first child
// element with that tag; large parents keep an index of these first matches
// (built on demand, dropped whenever a child is removed or renamed) so that a
// project with thousands of sibling states loads and saves in linear time.
class XmlNode
{
public:
    enum Kind { Element, Text, Comment };

    XmlNode(Kind kind, const QString &dato);

    Kind kind() const { return m_kind; }
    bool isElement() const { return m_kind == Element; }
    bool isText() const { return m_kind == Text; }
    // The tag of an element, the content of a text or a comment.
    const QString &dato() const { return m_dato; }
    XmlNode *parent() const { return m_parent; }
    const std::vector<std::unique_ptr<XmlNode>> &children() const { return m_children; }

    XmlNode *firstChildElement(const QString &tag) const;
    int childElementCount() const;
    bool hasChildElements() const;
    // The concatenated text of every descendant text node.
    QString text() const;

    XmlNode *appendChild(std::unique_ptr<XmlNode> child);
    XmlNode *appendElement(const QString &tag);
    void appendText(const QString &texto);
    void removeChild(XmlNode *child);
    void removeChildren();
    // Moves every child of other, in order, to the end of this node's.
    void adoptChildren(XmlNode &other);
    // Moves child (one of this node's children) into the place of target,
    // which is removed.
    void replaceChild(XmlNode *target, XmlNode *child);
    void setTag(const QString &tag);
    // Leaves exactly one text node holding texto as the content.
    void replaceContent(const QString &texto);

private:
    int indexOf(const XmlNode *child) const;
    void invalidateIndex();
    void buildIndex() const;

    Kind m_kind;
    QString m_dato;
    XmlNode *m_parent = nullptr;
    std::vector<std::unique_ptr<XmlNode>> m_children;
    mutable std::unique_ptr<QHash<QString, XmlNode *>> m_index;
};

#endif // XMLNODE_H
