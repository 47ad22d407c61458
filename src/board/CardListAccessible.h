#pragma once

#include <QAccessibleWidget>
#include <QHash>
#include <QPointer>
#include <QUuid>

class CardList;

// What assistive technology sees of a column's cards: one item per card, each with its
// "Edit …" button. Cards are painted, not widgets, so their interfaces are made when asked for.
class CardListAccessible final : public QAccessibleWidget
{
public:
    explicit CardListAccessible(CardList* list);
    ~CardListAccessible() override;

    // Installed once; answers for CardList objects only.
    static QAccessibleInterface* factory(const QString& className, QObject* object);

    int childCount() const override;
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QAccessibleInterface* childAt(int x, int y) const override;
    QString text(QAccessible::Text t) const override;

private:
    CardList* list() const;

    mutable QHash<QUuid, QAccessible::Id> m_cards;
};

// One painted card: the project's name and details; pressing it opens the editor.
class CardAccessible final : public QAccessibleInterface, public QAccessibleActionInterface
{
public:
    CardAccessible(CardList* list, const QUuid& id);
    ~CardAccessible() override;

    bool isValid() const override;
    QObject* object() const override { return nullptr; }
    QWindow* window() const override;
    QAccessibleInterface* parent() const override;
    QAccessibleInterface* child(int index) const override;
    int childCount() const override { return 1; }
    int indexOfChild(const QAccessibleInterface* child) const override;
    QAccessibleInterface* childAt(int x, int y) const override;
    QString text(QAccessible::Text t) const override;
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override;
    QAccessible::Role role() const override { return QAccessible::ListItem; }
    QAccessible::State state() const override;
    void* interface_cast(QAccessible::InterfaceType type) override;

    QStringList actionNames() const override;
    void doAction(const QString& actionName) override;
    QStringList keyBindingsForAction(const QString&) const override { return {}; }

    int row() const;

private:
    QPointer<CardList> m_list;
    QUuid m_id;
    mutable QAccessible::Id m_edit = 0;
};

// The pencil of one card: "Edit " and the project name; pressing it opens the editor.
class CardEditAccessible final : public QAccessibleInterface, public QAccessibleActionInterface
{
public:
    explicit CardEditAccessible(CardAccessible* card) : m_card(card) {}

    bool isValid() const override { return m_card->isValid(); }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return m_card->window(); }
    QAccessibleInterface* parent() const override { return m_card; }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QString text(QAccessible::Text t) const override;
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override;
    QAccessible::Role role() const override { return QAccessible::Button; }
    QAccessible::State state() const override { return {}; }
    void* interface_cast(QAccessible::InterfaceType type) override;

    QStringList actionNames() const override { return {pressAction()}; }
    void doAction(const QString& actionName) override;
    QStringList keyBindingsForAction(const QString&) const override { return {}; }

private:
    CardAccessible* m_card;
};
