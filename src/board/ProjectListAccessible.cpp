#include "board/ProjectListAccessible.h"

#include "board/ProjectItemAccessible.h"
#include "board/ProjectList.h"

ProjectListAccessible::ProjectListAccessible(QWidget* widget) : QAccessibleWidget(widget, QAccessible::List)
{}

ProjectListAccessible::~ProjectListAccessible()
{
    for (QAccessible::Id id : std::as_const(m_items))
        QAccessible::deleteAccessibleInterface(id);
}

QAccessibleInterface* ProjectListAccessible::factory(const QString&, QObject* object)
{
    return qobject_cast<ProjectList*>(object) ? new ProjectListAccessible(static_cast<QWidget*>(object))
                                              : nullptr;
}

void ProjectListAccessible::install()
{
    static const bool installed = [] {
        QAccessible::installFactory(&ProjectListAccessible::factory);
        return true;
    }();
    Q_UNUSED(installed);
}

ProjectList* ProjectListAccessible::list() const
{
    return qobject_cast<ProjectList*>(object());
}

int ProjectListAccessible::leading() const
{
    const ProjectList* p = list();
    return p ? p->accessibleIndexOf(0) : 0;
}

QString ProjectListAccessible::text(QAccessible::Text t) const
{
    // An empty list says what it would say on screen.
    const ProjectList* p = list();
    if (t == QAccessible::Name && p && p->projectCount() == 0) {
        const QString empty = p->emptyName();
        if (!empty.isNull())
            return empty;
    }
    return QAccessibleWidget::text(t);
}

int ProjectListAccessible::childCount() const
{
    const ProjectList* p = list();
    return p ? leading() + p->projectCount() : 0;
}

QAccessibleInterface* ProjectListAccessible::child(int index) const
{
    const ProjectList* p = list();
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

int ProjectListAccessible::indexOfChild(const QAccessibleInterface* child) const
{
    const ProjectList* p = list();
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

QAccessibleInterface* ProjectListAccessible::childAt(int x, int y) const
{
    const ProjectList* p = list();
    if (!p)
        return nullptr;
    const QPoint local = widget()->mapFromGlobal(QPoint(x, y));
    QWidget* lead = p->leadingWidget();
    if (lead && lead->geometry().contains(local))
        return child(0);
    const int row = p->rowAt(local);
    return row < 0 ? nullptr : child(row + leading());
}
