#include "settings/DirectoryListAccessible.h"

#include "settings/DirectoryList.h"
#include "settings/DirectoryModel.h"

#include <QPointer>

namespace {

class DirectoryRowAccessible final : public QAccessibleInterface, public QAccessibleActionInterface
{
public:
    DirectoryRowAccessible(DirectoryList* list, const QModelIndex& index) : m_list(list), m_index(index) {}

    bool isValid() const override { return m_list && m_index.isValid(); }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return m_list ? m_list->window()->windowHandle() : nullptr; }
    QAccessibleInterface* parent() const override
    {
        return m_list ? QAccessible::queryAccessibleInterface(m_list) : nullptr;
    }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessible::Role role() const override { return QAccessible::ListItem; }
    void setText(QAccessible::Text, const QString&) override {}
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
        const QRect r = m_list->visualRect(m_index);
        return QRect(m_list->viewport()->mapToGlobal(r.topLeft()), r.size());
    }
    QAccessible::State state() const override
    {
        QAccessible::State s;
        if (!isValid() || !m_list->viewport()->rect().intersects(m_list->visualRect(m_index)))
            s.invisible = true;
        s.focusable = true;
        s.selectable = true;
        if (isValid() && m_list->currentIndex() == m_index) {
            s.selected = true;
            s.focused = m_list->hasFocus();
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
        return {m_index.data(DirectoryModel::EditLabelRole).toString(),
                m_index.data(DirectoryModel::RemoveLabelRole).toString()};
    }
    QString localizedActionDescription(const QString& name) const override { return name; }
    void doAction(const QString& name) override
    {
        const QStringList names = actionNames();
        if (names.size() != 2)
            return;
        // The same signals the symbols on the row send when clicked.
        const QString entry = m_index.data(Qt::EditRole).toString();
        if (name == names.at(0))
            emit m_list->editRequested(entry);
        else if (name == names.at(1))
            emit m_list->removeRequested(entry);
    }
    QStringList keyBindingsForAction(const QString&) const override { return {}; }

private:
    QPointer<DirectoryList> m_list;
    QPersistentModelIndex m_index;
};

QAccessibleInterface* factory(const QString& className, QObject* object)
{
    if (className == QLatin1String("DirectoryList") && object && object->isWidgetType())
        return new DirectoryListAccessible(static_cast<DirectoryList*>(object));
    return nullptr;
}

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
    static const bool installed = [] {
        QAccessible::installFactory(factory);
        return true;
    }();
    Q_UNUSED(installed);
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
