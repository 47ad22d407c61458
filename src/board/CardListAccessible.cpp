#include "board/CardListAccessible.h"

#include "board/CardList.h"
#include "board/ColumnModel.h"
#include "board/ProjectCard.h"
#include "board/StatusStyle.h"
#include "model/Store.h"

CardListAccessible::CardListAccessible(CardList* list) : QAccessibleWidget(list, QAccessible::List) {}

CardListAccessible::~CardListAccessible()
{
    for (QAccessible::Id id : std::as_const(m_cards))
        QAccessible::deleteAccessibleInterface(id);
}

QAccessibleInterface* CardListAccessible::factory(const QString&, QObject* object)
{
    if (auto* list = qobject_cast<CardList*>(object))
        return new CardListAccessible(list);
    return nullptr;
}

CardList* CardListAccessible::list() const
{
    return static_cast<CardList*>(widget());
}

QString CardListAccessible::text(QAccessible::Text t) const
{
    // The empty column says what it would say on screen.
    if (t == QAccessible::Name && list()->model()->rowCount() == 0)
        return list()->emptyText();
    return QAccessibleWidget::text(t);
}

int CardListAccessible::childCount() const
{
    return list()->model()->rowCount();
}

QAccessibleInterface* CardListAccessible::child(int index) const
{
    if (index < 0 || index >= list()->model()->rowCount())
        return nullptr;
    const QUuid id = list()->model()->project(index).id;
    const auto it = m_cards.constFind(id);
    if (it != m_cards.cend()) {
        if (QAccessibleInterface* known = QAccessible::accessibleInterface(*it))
            return known;
    }
    auto* made = new CardAccessible(list(), id);
    m_cards.insert(id, QAccessible::registerAccessibleInterface(made));
    return made;
}

int CardListAccessible::indexOfChild(const QAccessibleInterface* child) const
{
    if (!child || child->role() != QAccessible::ListItem || child->parent() != this)
        return -1;
    return static_cast<const CardAccessible*>(child)->row();
}

QAccessibleInterface* CardListAccessible::childAt(int x, int y) const
{
    const int row = list()->rowAt(list()->mapFromGlobal(QPoint(x, y)));
    return row < 0 ? nullptr : child(row);
}

// --- cards -------------------------------------------------------------------------------------

CardAccessible::CardAccessible(CardList* list, const QUuid& id) : m_list(list), m_id(id) {}

CardAccessible::~CardAccessible()
{
    if (m_edit)
        QAccessible::deleteAccessibleInterface(m_edit);
}

int CardAccessible::row() const
{
    return m_list ? m_list->model()->rowOf(m_id) : -1;
}

bool CardAccessible::isValid() const
{
    return row() >= 0;
}

QWindow* CardAccessible::window() const
{
    return m_list ? m_list->window()->windowHandle() : nullptr;
}

QAccessibleInterface* CardAccessible::parent() const
{
    return m_list ? QAccessible::queryAccessibleInterface(m_list) : nullptr;
}

QAccessibleInterface* CardAccessible::child(int index) const
{
    if (index != 0)
        return nullptr;
    if (QAccessibleInterface* known = m_edit ? QAccessible::accessibleInterface(m_edit) : nullptr)
        return known;
    auto* made = new CardEditAccessible(const_cast<CardAccessible*>(this));
    m_edit = QAccessible::registerAccessibleInterface(made);
    return made;
}

int CardAccessible::indexOfChild(const QAccessibleInterface* child) const
{
    return child && m_edit && QAccessible::uniqueId(const_cast<QAccessibleInterface*>(child)) == m_edit ? 0
                                                                                                        : -1;
}

QAccessibleInterface* CardAccessible::childAt(int x, int y) const
{
    QAccessibleInterface* edit = child(0);
    return edit && edit->rect().contains(x, y) ? edit : nullptr;
}

QString CardAccessible::text(QAccessible::Text t) const
{
    const int r = row();
    if (r < 0)
        return {};
    const QModelIndex index = m_list->model()->index(r);
    switch (t) {
    case QAccessible::Name:
        return index.data(Qt::DisplayRole).toString();
    case QAccessible::Description: {
        QStringList parts{index.data(ColumnModel::FeeTextRole).toString(),
                          index.data(ColumnModel::ClientRole).toString(),
                          index.data(ColumnModel::CategoryRole).toString()};
        if (index.data(ColumnModel::OutsourceRole).toDouble() > 0)
            parts << QStringLiteral("Outsource: ") + index.data(ColumnModel::OutsourceTextRole).toString()
                  << QStringLiteral("Net: ") + index.data(ColumnModel::NetTextRole).toString();
        return parts.join(QStringLiteral(", "));
    }
    default:
        return {};
    }
}

QRect CardAccessible::rect() const
{
    const int r = row();
    if (r < 0)
        return {};
    const QRect local = m_list->cardRect(r);
    return QRect(m_list->mapToGlobal(local.topLeft()), local.size());
}

QAccessible::State CardAccessible::state() const
{
    QAccessible::State s;
    const int r = row();
    if (!m_list || r < 0 || !m_list->isVisible() ||
        m_list->visibleRegion().intersected(m_list->cardRect(r)).isEmpty())
        s.invisible = true;
    return s;
}

void* CardAccessible::interface_cast(QAccessible::InterfaceType type)
{
    return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface*>(this) : nullptr;
}

QStringList CardAccessible::actionNames() const
{
    return {pressAction(), showMenuAction()};
}

void CardAccessible::doAction(const QString& actionName)
{
    const int r = row();
    if (r < 0)
        return;
    if (actionName == pressAction())
        m_list->openEditor(r);
    else if (actionName == showMenuAction())
        m_list->openMenu(r, rect().center());
}

// --- the pencil --------------------------------------------------------------------------------

QString CardEditAccessible::text(QAccessible::Text t) const
{
    // English in both interface languages.
    return t == QAccessible::Name ? QStringLiteral("Edit ") + m_card->text(QAccessible::Name) : QString();
}

QRect CardEditAccessible::rect() const
{
    const QRect card = m_card->rect();
    return card.isEmpty() ? QRect() : ProjectCard::editButtonRect(QRectF(card)).toAlignedRect();
}

void* CardEditAccessible::interface_cast(QAccessible::InterfaceType type)
{
    return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface*>(this) : nullptr;
}

void CardEditAccessible::doAction(const QString& actionName)
{
    if (actionName == pressAction())
        m_card->doAction(pressAction());
}
