#pragma once

#include <QAccessibleWidget>
#include <QHash>
#include <QPointer>
#include <QUuid>

class PaintedProjects;

// What assistive technology sees of a widget that paints its projects: its leading widget if it
// has one, then one item per project, each with its "Edit …" button. Items are painted, not
// widgets, so their interfaces are made when first asked for.
class PaintedProjectsAccessible final : public QAccessibleWidget
{
public:
    explicit PaintedProjectsAccessible(QWidget* widget);
    ~PaintedProjectsAccessible() override;

    // Installed once; answers for widgets that implement PaintedProjects only.
    static QAccessibleInterface* factory(const QString& className, QObject* object);
    static void install();

    int childCount() const override;
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QAccessibleInterface* childAt(int x, int y) const override;
    QString text(QAccessible::Text t) const override;

private:
    // Looked up on every call: null once the widget is being destroyed, never a dangling call.
    PaintedProjects* projects() const;
    // Children before the first item.
    int leading() const;

    mutable QHash<QUuid, QAccessible::Id> m_items;
};
