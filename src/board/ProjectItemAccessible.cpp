#include "board/ProjectItemAccessible.h"

#include "board/ProjectList.h"

ProjectItemAccessible::ProjectItemAccessible(QWidget* widget, const QUuid& id) : m_widget(widget), m_id(id) {}

ProjectItemAccessible::~ProjectItemAccessible()
{
    if (m_edit)
        QAccessible::deleteAccessibleInterface(m_edit);
}

ProjectList* ProjectItemAccessible::list() const
{
    return qobject_cast<ProjectList*>(m_widget.data());
}

int ProjectItemAccessible::row() const
{
    const ProjectList* p = list();
    return p ? p->rowOfProject(m_id) : -1;
}

bool ProjectItemAccessible::isValid() const
{
    return row() >= 0;
}

QWindow* ProjectItemAccessible::window() const
{
    return m_widget ? m_widget->window()->windowHandle() : nullptr;
}

QAccessibleInterface* ProjectItemAccessible::parent() const
{
    return m_widget ? QAccessible::queryAccessibleInterface(m_widget) : nullptr;
}

QAccessibleInterface* ProjectItemAccessible::child(int index) const
{
    if (index != 0)
        return nullptr;
    if (QAccessibleInterface* known = m_edit ? QAccessible::accessibleInterface(m_edit) : nullptr)
        return known;
    auto* made = new ProjectItemEditAccessible(const_cast<ProjectItemAccessible*>(this));
    m_edit = QAccessible::registerAccessibleInterface(made);
    return made;
}

int ProjectItemAccessible::indexOfChild(const QAccessibleInterface* child) const
{
    return child && m_edit && QAccessible::uniqueId(const_cast<QAccessibleInterface*>(child)) == m_edit ? 0
                                                                                                        : -1;
}

QAccessibleInterface* ProjectItemAccessible::childAt(int x, int y) const
{
    QAccessibleInterface* edit = child(0);
    return edit && edit->rect().contains(x, y) ? edit : nullptr;
}

QString ProjectItemAccessible::text(QAccessible::Text t) const
{
    const int r = row();
    if (r < 0)
        return {};
    switch (t) {
    case QAccessible::Name:
        return list()->itemName(r);
    case QAccessible::Description:
        return list()->itemDescription(r);
    default:
        return {};
    }
}

QRect ProjectItemAccessible::rect() const
{
    const int r = row();
    if (r < 0)
        return {};
    const QRect local = list()->itemRect(r);
    return QRect(m_widget->mapToGlobal(local.topLeft()), local.size());
}

QRect ProjectItemAccessible::editRect() const
{
    const QRect item = rect();
    return item.isEmpty() ? QRect() : list()->editButtonRect(QRectF(item)).toAlignedRect();
}

QAccessible::State ProjectItemAccessible::state() const
{
    QAccessible::State s;
    const int r = row();
    if (!m_widget || r < 0 || !m_widget->isVisible() ||
        m_widget->visibleRegion().intersected(list()->itemRect(r)).isEmpty())
        s.invisible = true;
    s.focusable = true;
    s.selectable = true;
    if (r >= 0 && list()->currentRow() == r) {
        s.selected = true;
        s.focused = m_widget->hasFocus();
    }
    return s;
}

void* ProjectItemAccessible::interface_cast(QAccessible::InterfaceType type)
{
    return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface*>(this) : nullptr;
}

QStringList ProjectItemAccessible::actionNames() const
{
    return {pressAction(), showMenuAction()};
}

void ProjectItemAccessible::doAction(const QString& actionName)
{
    const int r = row();
    if (r < 0)
        return;
    if (actionName == pressAction())
        list()->openEditor(r);
    else if (actionName == showMenuAction())
        list()->openMenu(r, rect().center());
}

// --- the pencil --------------------------------------------------------------------------------

QString ProjectItemEditAccessible::text(QAccessible::Text t) const
{
    // English in both interface languages.
    return t == QAccessible::Name ? QStringLiteral("Edit ") + m_item->text(QAccessible::Name) : QString();
}

void* ProjectItemEditAccessible::interface_cast(QAccessible::InterfaceType type)
{
    return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface*>(this) : nullptr;
}

void ProjectItemEditAccessible::doAction(const QString& actionName)
{
    if (actionName == pressAction())
        m_item->doAction(pressAction());
}
