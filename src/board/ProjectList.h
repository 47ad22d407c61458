#pragma once

#include "board/ProjectCursor.h"
#include "board/ProjectTexts.h"
#include "model/StoreTypes.h"

#include <QMargins>
#include <QPointer>
#include <QUuid>
#include <QVector>
#include <QWidget>

class ProjectListModel;
class QVariantAnimation;
class Store;

// A widget that paints one item per row of a ProjectListModel, top to bottom: the cards of a board
// column (CardList) and the rows of the project table (ProjectTable). Written once here for both:
// the items' layout (each height asked for once per layout and cached), painting only the items in
// view, hit-testing, the hover, the pencil, double clicks, the project menu by pointer and by
// keyboard, the keyboard's place (ProjectCursor) and what assistive technology reads
// (ProjectListAccessible). Items are painted, not widgets.
class ProjectList : public QWidget
{
    Q_OBJECT

public:
    // How the items stand in the widget and how they take the hover.
    struct ItemStyle
    {
        int firstTop = 0; // the top of the first item
        int gap = 0;      // between two items
        int side = 0;     // left and right of every item
        // How far an item's painting reaches past its rectangle (a shadow, a divider above it).
        QMargins bleed;
        // The hover fades in and out; otherwise it changes at once.
        bool hoverFades = false;
    };

    ProjectListModel* listModel() const { return m_model; }

    int projectCount() const;
    QUuid projectIdAt(int row) const;
    // The row now showing a project, or -1.
    int rowOfProject(const QUuid& id) const;
    // An item's rectangle in the widget; empty when out of range.
    QRect itemRect(int row) const;
    // The row whose item contains a point of the widget, or -1.
    int rowAt(const QPoint& pos) const;
    // The row whose item's middle is nearest a height of the widget, or -1 while there is none.
    int nearestRow(int y) const;
    // Where the pencil sits inside an item's rectangle.
    virtual QRectF editButtonRect(const QRectF& item) const = 0;

    // What assistive technology reads of an item: made from the texts the item paints.
    QString itemName(int row) const;
    virtual QString itemDescription(int row) const = 0;
    // A widget standing before the items (a header row), announced as the first child.
    virtual QWidget* leadingWidget() const { return nullptr; }
    // Where a row's item stands among the accessible children, after the leading widget.
    int accessibleIndexOf(int row) const { return (leadingWidget() ? 1 : 0) + row; }
    // What the list is called while it has no items; null keeps the widget's own name.
    virtual QString emptyName() const { return {}; }

    QUuid hoveredId() const { return m_hoverId; }
    // The row under the pointer, or -1.
    int hoveredRow() const;
    // The item the keyboard is on, or -1.
    int currentRow() const { return m_cursor.row(); }
    ProjectCursor& cursor() { return m_cursor; }
    // How many items the last paint drew, and the first of them (only those in view are painted).
    int paintedItems() const { return m_painted; }
    int firstPaintedRow() const { return m_firstPainted; }

    // The editor of a row's project; its project menu at a global position.
    void openEditor(int row);
    void openMenu(int row, const QPoint& globalPos);
    // A key of the board's (ProjectCursor::BoardKey) on a row (-1 for newProject); true when taken.
    // A list that is no board column takes none.
    virtual bool boardKey(ProjectCursor::BoardKey key, int row)
    {
        Q_UNUSED(key);
        Q_UNUSED(row);
        return false;
    }
    bool editorOpen() const;

    // The keyboard's item is where a keyboard context menu opens (the menu key on X11 and Wayland).
    QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;

protected:
    ProjectList(Store& store, ProjectListModel* model, const ItemStyle& style, QWidget* parent);

    // The height of a row's item.
    virtual int itemHeight(int row) const = 0;
    // Paints a row's item in its rectangle; `current` when the keyboard is on it and the list has
    // the focus (the item draws the focus ring its shape needs).
    virtual void paintItem(QPainter& p, int row, const QRect& rect, bool current) = 0;
    // Called after every layout, for the widget's own size to follow its items.
    virtual void laidOut() {}
    // The pencil's tooltip; null for none.
    virtual QString editToolTip() const { return {}; }

    Store& store() const;
    AppLanguage language() const;
    // The texts of a row's item that every presentation shows as the model gives them; the
    // outsource is the bare amount, for the presentation to label.
    void readTexts(int row, ProjectTexts& texts) const;
    // Lays the items out again from the model and repaints; subclasses call it once constructed.
    void relayout();
    // The bottom of the last item (firstTop - gap while there is none).
    int itemsBottom() const;
    // Paints the items that reach into `clip`.
    void paintItems(QPainter& p, const QRect& clip);
    // 0 at rest, 1 under the pointer, in between while the hover fades.
    qreal hoverAmount(int row) const;
    // The hover and the pointer's shape for a pointer at a point of the widget.
    void hoverAt(const QPoint& pos);
    void setHover(int row);
    // The row a left press started on, -1 when none (or once it was handled).
    int pressedRow() const;
    QPoint pressPos() const { return m_pressPos; }
    void forgetPress() { m_pressId = QUuid(); }

    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void leaveEvent(QEvent* event) override;
    bool event(QEvent* event) override;

private:
    bool onEditButton(int row, const QPoint& pos) const;
    void setHoverId(const QUuid& id);
    void updateItem(const QUuid& id);

    Store& m_store;
    ProjectListModel* m_model;
    ItemStyle m_style;
    // Top and height of each item.
    QVector<int> m_tops;
    QVector<int> m_heights;
    int m_painted = 0;
    int m_firstPainted = -1;

    QUuid m_hoverId;
    QUuid m_leavingId;
    qreal m_hoverIn = 0;
    qreal m_hoverOut = 0;
    QVariantAnimation* m_inAnimation;
    QVariantAnimation* m_outAnimation;

    QUuid m_pressId;
    QPoint m_pressPos;
    ProjectCursor m_cursor{this};
};
