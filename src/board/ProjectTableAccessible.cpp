#include "board/ProjectTableAccessible.h"

#include "board/ProjectRow.h"
#include "board/ProjectTable.h"
#include "board/ProjectTableModel.h"
#include "board/TableHeader.h"

ProjectTableAccessible::ProjectTableAccessible(ProjectTable* table)
    : QAccessibleWidget(table, QAccessible::List)
{}

ProjectTableAccessible::~ProjectTableAccessible()
{
    for (QAccessible::Id id : std::as_const(m_rows))
        QAccessible::deleteAccessibleInterface(id);
}

QAccessibleInterface* ProjectTableAccessible::factory(const QString&, QObject* object)
{
    if (auto* table = qobject_cast<ProjectTable*>(object))
        return new ProjectTableAccessible(table);
    return nullptr;
}

ProjectTable* ProjectTableAccessible::table() const
{
    return static_cast<ProjectTable*>(widget());
}

int ProjectTableAccessible::childCount() const
{
    return 1 + table()->model()->rowCount();
}

QAccessibleInterface* ProjectTableAccessible::child(int index) const
{
    if (index == 0)
        return QAccessible::queryAccessibleInterface(table()->header());
    const int row = index - 1;
    if (row < 0 || row >= table()->model()->rowCount())
        return nullptr;
    const QUuid id = table()->model()->project(row).id;
    const auto it = m_rows.constFind(id);
    if (it != m_rows.cend()) {
        if (QAccessibleInterface* known = QAccessible::accessibleInterface(*it))
            return known;
    }
    auto* made = new ProjectRowAccessible(table(), id);
    m_rows.insert(id, QAccessible::registerAccessibleInterface(made));
    return made;
}

int ProjectTableAccessible::indexOfChild(const QAccessibleInterface* child) const
{
    if (!child)
        return -1;
    if (child->object() == table()->header())
        return 0;
    if (child->role() == QAccessible::ListItem && child->parent() == this) {
        const int row = static_cast<const ProjectRowAccessible*>(child)->row();
        return row < 0 ? -1 : row + 1;
    }
    return -1;
}

QAccessibleInterface* ProjectTableAccessible::childAt(int x, int y) const
{
    const QPoint local = table()->mapFromGlobal(QPoint(x, y));
    if (table()->header()->geometry().contains(local))
        return child(0);
    const int row = table()->rowAt(local);
    return row < 0 ? nullptr : child(row + 1);
}

// --- rows -------------------------------------------------------------------------------------

ProjectRowAccessible::ProjectRowAccessible(ProjectTable* table, const QUuid& id) : m_table(table), m_id(id) {}

ProjectRowAccessible::~ProjectRowAccessible()
{
    if (m_edit)
        QAccessible::deleteAccessibleInterface(m_edit);
}

int ProjectRowAccessible::row() const
{
    return m_table ? m_table->model()->rowOf(m_id) : -1;
}

bool ProjectRowAccessible::isValid() const
{
    return row() >= 0;
}

QWindow* ProjectRowAccessible::window() const
{
    return m_table ? m_table->window()->windowHandle() : nullptr;
}

QAccessibleInterface* ProjectRowAccessible::parent() const
{
    return m_table ? QAccessible::queryAccessibleInterface(m_table) : nullptr;
}

QAccessibleInterface* ProjectRowAccessible::child(int index) const
{
    if (index != 0)
        return nullptr;
    if (QAccessibleInterface* known = m_edit ? QAccessible::accessibleInterface(m_edit) : nullptr)
        return known;
    auto* made = new ProjectRowEditAccessible(const_cast<ProjectRowAccessible*>(this));
    m_edit = QAccessible::registerAccessibleInterface(made);
    return made;
}

int ProjectRowAccessible::indexOfChild(const QAccessibleInterface* child) const
{
    return child && m_edit && QAccessible::uniqueId(const_cast<QAccessibleInterface*>(child)) == m_edit ? 0
                                                                                                        : -1;
}

QAccessibleInterface* ProjectRowAccessible::childAt(int x, int y) const
{
    QAccessibleInterface* edit = child(0);
    return edit && edit->rect().contains(x, y) ? edit : nullptr;
}

QString ProjectRowAccessible::text(QAccessible::Text t) const
{
    const int r = row();
    if (r < 0)
        return {};
    const QModelIndex index = m_table->model()->index(r);
    switch (t) {
    case QAccessible::Name:
        return index.data(Qt::DisplayRole).toString();
    case QAccessible::Description: {
        QStringList parts{index.data(ProjectTableModel::ClientRole).toString(),
                          index.data(ProjectTableModel::CategoryRole).toString(),
                          index.data(ProjectTableModel::FeeTextRole).toString()};
        const QString outsource = index.data(ProjectTableModel::OutsourceTextRole).toString();
        if (!outsource.isEmpty())
            parts << outsource;
        parts << index.data(ProjectTableModel::StatusTitleRole).toString();
        return parts.join(QStringLiteral(", "));
    }
    default:
        return {};
    }
}

QRect ProjectRowAccessible::rect() const
{
    const int r = row();
    if (r < 0)
        return {};
    const QRect local = m_table->rowRect(r);
    return QRect(m_table->mapToGlobal(local.topLeft()), local.size());
}

QAccessible::State ProjectRowAccessible::state() const
{
    QAccessible::State s;
    if (!m_table || !m_table->isVisible() ||
        m_table->visibleRegion().intersected(m_table->rowRect(row())).isEmpty())
        s.invisible = true;
    return s;
}

void* ProjectRowAccessible::interface_cast(QAccessible::InterfaceType type)
{
    return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface*>(this) : nullptr;
}

QStringList ProjectRowAccessible::actionNames() const
{
    return {pressAction(), showMenuAction()};
}

void ProjectRowAccessible::doAction(const QString& actionName)
{
    const int r = row();
    if (r < 0)
        return;
    if (actionName == pressAction())
        m_table->openEditor(r);
    else if (actionName == showMenuAction())
        m_table->openMenu(r, rect().center());
}

// --- the pencil --------------------------------------------------------------------------------

ProjectRowEditAccessible::ProjectRowEditAccessible(ProjectRowAccessible* row) : m_row(row) {}

QString ProjectRowEditAccessible::text(QAccessible::Text t) const
{
    // English in both interface languages.
    return t == QAccessible::Name ? QStringLiteral("Edit ") + m_row->text(QAccessible::Name) : QString();
}

QRect ProjectRowEditAccessible::rect() const
{
    const QRect row = m_row->rect();
    return row.isEmpty() ? QRect() : ProjectRow::editButtonRect(QRectF(row)).toAlignedRect();
}

void* ProjectRowEditAccessible::interface_cast(QAccessible::InterfaceType type)
{
    return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface*>(this) : nullptr;
}

void ProjectRowEditAccessible::doAction(const QString& actionName)
{
    if (actionName == pressAction())
        m_row->doAction(pressAction());
}
