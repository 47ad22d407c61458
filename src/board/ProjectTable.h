#pragma once

#include "board/PaintedProjects.h"
#include "board/ProjectCursor.h"

#include <QPointer>
#include <QUuid>
#include <QVector>
#include <QWidget>

class ProjectRowDelegate;
class ProjectTableModel;
class Store;
class TableHeader;

// The board's table presentation: the header row, then one painted row per visible project in
// the Store's table order, divided by hairlines, on a white rounded frame. The table grows to its
// full height inside the page's scroll area and paints only the rows in view. Rows open the editor
// (pencil or double click) and the project menu (secondary click); nothing is dragged or dropped.
class ProjectTable final : public QWidget, public PaintedProjects
{
    Q_OBJECT

public:
    static constexpr int kRadius = 24;
    // Room under the frame for its shadow.
    static constexpr int kShadowBleed = 6;
    static constexpr int kEmptyPadding = 40;

    explicit ProjectTable(Store* store, QWidget* parent = nullptr);

    ProjectTableModel* model() const { return m_model; }
    ProjectRowDelegate* delegate() const { return m_delegate; }
    TableHeader* header() const { return m_header; }

    // The rectangle of a row (below its divider); empty when out of range.
    QRect rowRect(int row) const;
    // The row under a point, or -1.
    int rowAt(const QPoint& pos) const override;
    // The empty-state text shown now; empty while there are rows.
    QString emptyText() const;
    int hoveredRow() const;
    // How many rows the last paint drew (only those in view are painted).
    int paintedRows() const { return m_painted; }
    // Bumped by every paint (benchmarks wait for the repaint after a change).
    quint64 paintCount() const { return m_paintCount; }
    // The height of the white frame (the widget adds room for the shadow below it).
    int frameHeight() const { return m_frameHeight; }

    // Opens the editor for a row's project.
    void openEditor(int row) override;
    // Shows the project menu of a row at a global position.
    void openMenu(int row, const QPoint& globalPos) override;

    // What the accessible tree reads of the rows; the header comes first.
    int projectCount() const override;
    QUuid projectIdAt(int row) const override;
    int rowOfProject(const QUuid& id) const override;
    QRect itemRect(int row) const override { return rowRect(row); }
    QRectF editButtonRect(const QRectF& item) const override;
    QString itemName(int row) const override;
    QString itemDescription(int row) const override;
    QWidget* leadingWidget() const override;
    int currentRow() const override { return m_cursor.row(); }
    ProjectCursor& cursor() { return m_cursor; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    void relayout();
    void paintFrame(QPainter& p, const QRect& clip) const;
    void paintRows(QPainter& p, const QRect& clip);
    void paintEmpty(QPainter& p) const;
    void setHover(int row);
    void followPointer();
    bool onEditButton(int row, const QPoint& pos) const;

    QPointer<Store> m_store;
    ProjectTableModel* m_model;
    ProjectRowDelegate* m_delegate;
    TableHeader* m_header;
    // Top of each row's rectangle; rows are full width.
    QVector<int> m_tops;
    QVector<int> m_heights;
    int m_frameHeight = 0;
    QUuid m_hoverId;
    QUuid m_pressedEdit;
    int m_painted = 0;
    quint64 m_paintCount = 0;
    ProjectCursor m_cursor{this, this};
};
