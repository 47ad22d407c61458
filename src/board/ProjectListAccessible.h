#pragma once

#include <QAccessibleWidget>
#include <QHash>
#include <QPointer>
#include <QUuid>

class ProjectList;

// What assistive technology sees of a ProjectList: its leading widget if it has one, then one item
// per project, each with its "Edit …" button. Items are painted, not widgets, so their interfaces
// are made when first asked for.
class ProjectListAccessible final : public QAccessibleWidget
{
public:
    explicit ProjectListAccessible(QWidget* widget);
    ~ProjectListAccessible() override;

    // Installed once; answers for project lists only.
    static QAccessibleInterface* factory(const QString& className, QObject* object);
    static void install();

    int childCount() const override;
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QAccessibleInterface* childAt(int x, int y) const override;
    QString text(QAccessible::Text t) const override;

private:
    // Looked up on every call: null once the widget is being destroyed, never a dangling call.
    ProjectList* list() const;
    // Children before the first item.
    int leading() const;

    mutable QHash<QUuid, QAccessible::Id> m_items;
};
