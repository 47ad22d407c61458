#pragma once

#include <QAccessibleWidget>
#include <QHash>
#include <QPointer>
#include <QUuid>

class ProjectTable;

// What assistive technology sees of the project table: the header row, then one item per project
// row, each with an "Edit …" button. Rows are painted, not widgets, so their interfaces are made
// when first asked for.
class ProjectTableAccessible final : public QAccessibleWidget
{
public:
    explicit ProjectTableAccessible(ProjectTable* table);
    ~ProjectTableAccessible() override;

    // Installed once; answers for ProjectTable objects only.
    static QAccessibleInterface* factory(const QString& className, QObject* object);

    int childCount() const override;
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QAccessibleInterface* childAt(int x, int y) const override;

private:
    ProjectTable* table() const;

    mutable QHash<QUuid, QAccessible::Id> m_rows;
};

// One painted row of the table: its project's name and details; pressing it opens the editor.
class ProjectRowAccessible final : public QAccessibleInterface, public QAccessibleActionInterface
{
public:
    ProjectRowAccessible(ProjectTable* table, const QUuid& id);
    ~ProjectRowAccessible() override;

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
    QPointer<ProjectTable> m_table;
    QUuid m_id;
    mutable QAccessible::Id m_edit = 0;
};

// The pencil of one row: "Edit " and the project name, pressing it opens the editor.
class ProjectRowEditAccessible final : public QAccessibleInterface, public QAccessibleActionInterface
{
public:
    explicit ProjectRowEditAccessible(ProjectRowAccessible* row);

    bool isValid() const override { return m_row->isValid(); }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return m_row->window(); }
    QAccessibleInterface* parent() const override { return m_row; }
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
    ProjectRowAccessible* m_row;
};
