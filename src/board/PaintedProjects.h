#pragma once

#include <QPoint>
#include <QRect>
#include <QRectF>
#include <QString>
#include <QUuid>

class QWidget;

// A widget that paints one item per project, each with a pencil that opens the editor. Its
// accessible tree (PaintedProjectsAccessible) is built on these calls alone.
class PaintedProjects
{
public:
    virtual ~PaintedProjects() = default;

    virtual int projectCount() const = 0;
    virtual QUuid projectIdAt(int row) const = 0;
    // The row now showing a project, or -1.
    virtual int rowOfProject(const QUuid& id) const = 0;
    // An item's rectangle in the widget; empty when out of range.
    virtual QRect itemRect(int row) const = 0;
    // Where the pencil sits inside an item's rectangle.
    virtual QRectF editButtonRect(const QRectF& item) const = 0;
    // The row whose item contains a point of the widget, or -1.
    virtual int rowAt(const QPoint& pos) const = 0;
    virtual QString itemName(int row) const = 0;
    virtual QString itemDescription(int row) const = 0;
    virtual void openEditor(int row) = 0;
    virtual void openMenu(int row, const QPoint& globalPos) = 0;

    // The item the keyboard is on, or -1.
    virtual int currentRow() const { return -1; }
    // A widget standing before the items (a header row), announced as the first child.
    virtual QWidget* leadingWidget() const { return nullptr; }
    // Where a row's item stands among the accessible children, after the leading widget.
    int accessibleIndexOf(int row) const { return (leadingWidget() ? 1 : 0) + row; }
    // What the list is called while it has no items; null keeps the widget's own name.
    virtual QString emptyName() const { return {}; }
};
