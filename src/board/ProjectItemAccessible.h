#pragma once

#include <QAccessible>
#include <QPointer>
#include <QUuid>
#include <QWidget>

class ProjectList;

// One painted project item: the project's name and details; pressing it opens the editor.
class ProjectItemAccessible final : public QAccessibleInterface, public QAccessibleActionInterface
{
public:
    ProjectItemAccessible(QWidget* widget, const QUuid& id);
    ~ProjectItemAccessible() override;

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
    // Where the pencil sits in global coordinates; empty while the item is gone.
    QRect editRect() const;

private:
    // Looked up on every call: null once the widget is being destroyed, never a dangling call.
    ProjectList* list() const;

    QPointer<QWidget> m_widget;
    QUuid m_id;
    mutable QAccessible::Id m_edit = 0;
};

// The pencil of one item: "Edit " and the project name; pressing it opens the editor.
class ProjectItemEditAccessible final : public QAccessibleInterface, public QAccessibleActionInterface
{
public:
    explicit ProjectItemEditAccessible(ProjectItemAccessible* item) : m_item(item) {}

    bool isValid() const override { return m_item->isValid(); }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return m_item->window(); }
    QAccessibleInterface* parent() const override { return m_item; }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QString text(QAccessible::Text t) const override;
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override { return m_item->editRect(); }
    QAccessible::Role role() const override { return QAccessible::Button; }
    QAccessible::State state() const override { return {}; }
    void* interface_cast(QAccessible::InterfaceType type) override;

    QStringList actionNames() const override { return {pressAction()}; }
    void doAction(const QString& actionName) override;
    QStringList keyBindingsForAction(const QString&) const override { return {}; }

private:
    ProjectItemAccessible* m_item;
};
