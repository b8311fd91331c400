#include "xmlnode.h"

#include <algorithm>

namespace {
// Below this many children a linear scan is cheaper than keeping an index.
constexpr size_t kIndexThreshold = 16;
} // namespace

XmlNode::XmlNode(Kind kind, const QString &dato) : m_kind(kind), m_dato(dato) {}

XmlNode *XmlNode::firstChildElement(const QString &tag) const
{
    if (m_children.size() > kIndexThreshold) {
        if (!m_index)
            buildIndex();
        return m_index->value(tag, nullptr);
    }
    for (const auto &child : m_children) {
        if (child->isElement() && child->m_dato == tag)
            return child.get();
    }
    return nullptr;
}

int XmlNode::childElementCount() const
{
    return int(std::count_if(m_children.cbegin(), m_children.cend(),
                             [](const std::unique_ptr<XmlNode> &child) { return child->isElement(); }));
}

bool XmlNode::hasChildElements() const
{
    return std::any_of(m_children.cbegin(), m_children.cend(),
                       [](const std::unique_ptr<XmlNode> &child) { return child->isElement(); });
}

QString XmlNode::text() const
{
    if (m_kind == Text)
        return m_dato;
    if (m_children.size() == 1 && m_children.front()->isText())
        return m_children.front()->m_dato;
    QString texto;
    for (const auto &child : m_children) {
        if (child->m_kind != Comment)
            texto += child->text();
    }
    return texto;
}

XmlNode *XmlNode::appendChild(std::unique_ptr<XmlNode> child)
{
    child->m_parent = this;
    XmlNode *added = child.get();
    m_children.push_back(std::move(child));
    if (m_index && added->isElement() && !m_index->contains(added->m_dato))
        m_index->insert(added->m_dato, added);
    return added;
}

XmlNode *XmlNode::appendElement(const QString &tag)
{
    return appendChild(std::make_unique<XmlNode>(Element, tag));
}

void XmlNode::appendText(const QString &texto)
{
    appendChild(std::make_unique<XmlNode>(Text, texto));
}

void XmlNode::removeChild(XmlNode *child)
{
    const int index = indexOf(child);
    if (index < 0)
        return;
    m_children.erase(m_children.begin() + index);
    invalidateIndex();
}

void XmlNode::removeChildren()
{
    m_children.clear();
    invalidateIndex();
}

void XmlNode::adoptChildren(XmlNode &other)
{
    for (auto &child : other.m_children)
        appendChild(std::move(child));
    other.removeChildren();
}

void XmlNode::replaceChild(XmlNode *target, XmlNode *child)
{
    const int from = indexOf(child);
    const int to = indexOf(target);
    if (from < 0 || to < 0 || from == to)
        return;
    std::unique_ptr<XmlNode> moved = std::move(m_children[size_t(from)]);
    m_children[size_t(to)] = std::move(moved);
    m_children.erase(m_children.begin() + from);
    invalidateIndex();
}

void XmlNode::setTag(const QString &tag)
{
    m_dato = tag;
    if (m_parent)
        m_parent->invalidateIndex();
}

void XmlNode::replaceContent(const QString &texto)
{
    if (m_children.size() == 1 && m_children.front()->isText()) {
        m_children.front()->m_dato = texto;
        return;
    }
    removeChildren();
    appendText(texto);
}

int XmlNode::indexOf(const XmlNode *child) const
{
    const auto it =
        std::find_if(m_children.cbegin(), m_children.cend(),
                     [child](const std::unique_ptr<XmlNode> &node) { return node.get() == child; });
    return it == m_children.cend() ? -1 : int(it - m_children.cbegin());
}

void XmlNode::invalidateIndex()
{
    m_index.reset();
}

void XmlNode::buildIndex() const
{
    m_index = std::make_unique<QHash<QString, XmlNode *>>();
    m_index->reserve(int(m_children.size()));
    // Walking backwards lets the earliest element of each tag win.
    for (auto it = m_children.crbegin(); it != m_children.crend(); ++it) {
        if ((*it)->isElement())
            m_index->insert((*it)->m_dato, it->get());
    }
}
