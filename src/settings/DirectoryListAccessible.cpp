#include "settings/DirectoryListAccessible.h"

#include "settings/DirectoryList.h"
#include "settings/DirectoryModel.h"
#include "ui/AccessibleKit.h"

namespace {

class DirectoryRowAccessible final : public AccessibleKit::PaintedPart, public QAccessibleActionInterface
{
public:
    DirectoryRowAccessible(DirectoryList* list, const QModelIndex& index) : PaintedPart(list), m_index(index)
    {}

    bool isValid() const override { return owner() && m_index.isValid(); }
    QAccessible::Role role() const override { return QAccessible::ListItem; }
    QString text(QAccessible::Text t) const override
    {
        if (!isValid())
            return {};
        switch (t) {
        case QAccessible::Name:
            return m_index.data(Qt::AccessibleTextRole).toString();
        case QAccessible::Description:
            return m_index.data(Qt::AccessibleDescriptionRole).toString();
        default:
            return {};
        }
    }
    QRect rect() const override
    {
        if (!isValid())
            return {};
        const QRect r = list()->visualRect(m_index);
        return QRect(list()->viewport()->mapToGlobal(r.topLeft()), r.size());
    }
    QAccessible::State state() const override
    {
        QAccessible::State s;
        if (!isValid() || !list()->viewport()->rect().intersects(list()->visualRect(m_index)))
            s.invisible = true;
        s.focusable = true;
        s.selectable = true;
        if (isValid() && list()->currentIndex() == m_index) {
            s.selected = true;
            s.focused = list()->hasFocus();
        }
        return s;
    }
    void* interface_cast(QAccessible::InterfaceType type) override
    {
        return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface*>(this)
                                                    : nullptr;
    }

    QStringList actionNames() const override
    {
        if (!isValid())
            return {};
        QStringList names{m_index.data(DirectoryModel::EditLabelRole).toString(),
                          m_index.data(DirectoryModel::RemoveLabelRole).toString()};
        // A client's row also offers its payment terms.
        if (m_index.data(DirectoryModel::TermsRole).isValid())
            names << m_index.data(DirectoryModel::TermsLabelRole).toString();
        return names;
    }
    QString localizedActionDescription(const QString& name) const override { return name; }
    void doAction(const QString& name) override
    {
        // As a click on the row's symbol.
        const DirectoryList::RowButton buttons[] = {DirectoryList::RowButton::edit,
                                                    DirectoryList::RowButton::remove,
                                                    DirectoryList::RowButton::terms};
        const qsizetype at = actionNames().indexOf(name);
        if (at >= 0 && at < qsizetype(std::size(buttons)))
            list()->trigger(buttons[at], m_index);
    }
    QStringList keyBindingsForAction(const QString&) const override { return {}; }

private:
    DirectoryList* list() const { return static_cast<DirectoryList*>(owner()); }

    QPersistentModelIndex m_index;
};

} // namespace

DirectoryListAccessible::DirectoryListAccessible(DirectoryList* list)
    : QAccessibleWidget(list, QAccessible::List)
{}

DirectoryListAccessible::~DirectoryListAccessible()
{
    for (const QAccessible::Id id : std::as_const(m_rows))
        QAccessible::deleteAccessibleInterface(id);
}

void DirectoryListAccessible::install()
{
    AccessibleKit::install<DirectoryList, DirectoryListAccessible>();
}

DirectoryList* DirectoryListAccessible::list() const
{
    return qobject_cast<DirectoryList*>(object());
}

int DirectoryListAccessible::childCount() const
{
    const DirectoryList* l = list();
    return l && l->model() ? l->model()->rowCount() : 0;
}

QAccessibleInterface* DirectoryListAccessible::child(int index) const
{
    DirectoryList* l = list();
    if (!l || !l->model() || index < 0 || index >= l->model()->rowCount())
        return nullptr;
    const QPersistentModelIndex row(l->model()->index(index, 0));
    if (QAccessibleInterface* known = QAccessible::accessibleInterface(m_rows.value(row)))
        return known;
    auto* made = new DirectoryRowAccessible(l, row);
    m_rows.insert(row, QAccessible::registerAccessibleInterface(made));
    return made;
}

int DirectoryListAccessible::indexOfChild(const QAccessibleInterface* child) const
{
    if (!child)
        return -1;
    const QAccessible::Id id = QAccessible::uniqueId(const_cast<QAccessibleInterface*>(child));
    for (auto it = m_rows.cbegin(); it != m_rows.cend(); ++it) {
        if (it.value() == id)
            return it.key().isValid() ? it.key().row() : -1;
    }
    return -1;
}

QAccessibleInterface* DirectoryListAccessible::childAt(int x, int y) const
{
    DirectoryList* l = list();
    if (!l)
        return nullptr;
    const QModelIndex index = l->indexAt(l->viewport()->mapFromGlobal(QPoint(x, y)));
    return index.isValid() ? child(index.row()) : nullptr;
}
