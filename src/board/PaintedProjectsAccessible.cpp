#include "board/PaintedProjectsAccessible.h"

#include "board/PaintedProjects.h"
#include "board/ProjectItemAccessible.h"

PaintedProjectsAccessible::PaintedProjectsAccessible(QWidget* widget)
    : QAccessibleWidget(widget, QAccessible::List)
{}

PaintedProjectsAccessible::~PaintedProjectsAccessible()
{
    for (QAccessible::Id id : std::as_const(m_items))
        QAccessible::deleteAccessibleInterface(id);
}

QAccessibleInterface* PaintedProjectsAccessible::factory(const QString&, QObject* object)
{
    auto* widget = qobject_cast<QWidget*>(object);
    return widget && dynamic_cast<PaintedProjects*>(widget) ? new PaintedProjectsAccessible(widget) : nullptr;
}

void PaintedProjectsAccessible::install()
{
    static const bool installed = [] {
        QAccessible::installFactory(&PaintedProjectsAccessible::factory);
        return true;
    }();
    Q_UNUSED(installed);
}

PaintedProjects* PaintedProjectsAccessible::projects() const
{
    return dynamic_cast<PaintedProjects*>(object());
}

int PaintedProjectsAccessible::leading() const
{
    const PaintedProjects* p = projects();
    return p ? p->accessibleIndexOf(0) : 0;
}

QString PaintedProjectsAccessible::text(QAccessible::Text t) const
{
    // An empty list says what it would say on screen.
    const PaintedProjects* p = projects();
    if (t == QAccessible::Name && p && p->projectCount() == 0) {
        const QString empty = p->emptyName();
        if (!empty.isNull())
            return empty;
    }
    return QAccessibleWidget::text(t);
}

int PaintedProjectsAccessible::childCount() const
{
    const PaintedProjects* p = projects();
    return p ? leading() + p->projectCount() : 0;
}

QAccessibleInterface* PaintedProjectsAccessible::child(int index) const
{
    const PaintedProjects* p = projects();
    if (!p)
        return nullptr;
    const int lead = leading();
    if (lead && index == 0)
        return QAccessible::queryAccessibleInterface(p->leadingWidget());
    const int row = index - lead;
    if (row < 0 || row >= p->projectCount())
        return nullptr;
    const QUuid id = p->projectIdAt(row);
    const auto it = m_items.constFind(id);
    if (it != m_items.cend()) {
        if (QAccessibleInterface* known = QAccessible::accessibleInterface(*it))
            return known;
    }
    auto* made = new ProjectItemAccessible(widget(), id);
    m_items.insert(id, QAccessible::registerAccessibleInterface(made));
    return made;
}

int PaintedProjectsAccessible::indexOfChild(const QAccessibleInterface* child) const
{
    const PaintedProjects* p = projects();
    if (!child || !p)
        return -1;
    QWidget* lead = p->leadingWidget();
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
    const PaintedProjects* p = projects();
    if (!p)
        return nullptr;
    const QPoint local = widget()->mapFromGlobal(QPoint(x, y));
    QWidget* lead = p->leadingWidget();
    if (lead && lead->geometry().contains(local))
        return child(0);
    const int row = p->rowAt(local);
    return row < 0 ? nullptr : child(row + leading());
}
