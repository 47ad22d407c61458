#include "board/PaintedProjectsAccessible.h"

#include "board/PaintedProjects.h"
#include "board/ProjectItemAccessible.h"

PaintedProjectsAccessible::PaintedProjectsAccessible(QWidget* widget, PaintedProjects* projects)
    : QAccessibleWidget(widget, QAccessible::List), m_projects(projects)
{}

PaintedProjectsAccessible::~PaintedProjectsAccessible()
{
    for (QAccessible::Id id : std::as_const(m_items))
        QAccessible::deleteAccessibleInterface(id);
}

QAccessibleInterface* PaintedProjectsAccessible::factory(const QString&, QObject* object)
{
    auto* widget = qobject_cast<QWidget*>(object);
    auto* projects = dynamic_cast<PaintedProjects*>(object);
    return widget && projects ? new PaintedProjectsAccessible(widget, projects) : nullptr;
}

void PaintedProjectsAccessible::install()
{
    static const bool installed = [] {
        QAccessible::installFactory(&PaintedProjectsAccessible::factory);
        return true;
    }();
    Q_UNUSED(installed);
}

int PaintedProjectsAccessible::leading() const
{
    return m_projects->leadingWidget() ? 1 : 0;
}

QString PaintedProjectsAccessible::text(QAccessible::Text t) const
{
    // An empty list says what it would say on screen.
    if (t == QAccessible::Name && m_projects->projectCount() == 0) {
        const QString empty = m_projects->emptyName();
        if (!empty.isNull())
            return empty;
    }
    return QAccessibleWidget::text(t);
}

int PaintedProjectsAccessible::childCount() const
{
    return leading() + m_projects->projectCount();
}

QAccessibleInterface* PaintedProjectsAccessible::child(int index) const
{
    const int lead = leading();
    if (lead && index == 0)
        return QAccessible::queryAccessibleInterface(m_projects->leadingWidget());
    const int row = index - lead;
    if (row < 0 || row >= m_projects->projectCount())
        return nullptr;
    const QUuid id = m_projects->projectIdAt(row);
    const auto it = m_items.constFind(id);
    if (it != m_items.cend()) {
        if (QAccessibleInterface* known = QAccessible::accessibleInterface(*it))
            return known;
    }
    auto* made = new ProjectItemAccessible(widget(), m_projects, id);
    m_items.insert(id, QAccessible::registerAccessibleInterface(made));
    return made;
}

int PaintedProjectsAccessible::indexOfChild(const QAccessibleInterface* child) const
{
    if (!child)
        return -1;
    QWidget* lead = m_projects->leadingWidget();
    if (lead && child->object() == lead)
        return 0;
    if (child->role() == QAccessible::ListItem && child->parent() == this) {
        const int row = static_cast<const ProjectItemAccessible*>(child)->row();
        return row < 0 ? -1 : row + leading();
    }
    return -1;
}

QAccessibleInterface* PaintedProjectsAccessible::childAt(int x, int y) const
{
    const QPoint local = widget()->mapFromGlobal(QPoint(x, y));
    QWidget* lead = m_projects->leadingWidget();
    if (lead && lead->geometry().contains(local))
        return child(0);
    const int row = m_projects->rowAt(local);
    return row < 0 ? nullptr : child(row + leading());
}
