#pragma once

#include "model/Status.h"

#include <QWidget>

class ColumnModel;
class QMenu;
class Store;

// The header row of a board column: drag handle, dot, title, count and sum pill. It is the
// column's drag source ("col:" + raw value), carries the two-item column menu, and is one
// accessibility element with the actions "Move Column Left" and "Move Column Right".
class ColumnHeader final : public QWidget
{
    Q_OBJECT

public:
    static constexpr int kHandleWidth = 18;
    static constexpr int kHandleHeight = 22;

    ColumnHeader(Store& store, ColumnModel* model, QWidget* parent = nullptr);

    Status status() const;
    void setDark(bool dark);
    bool isDark() const { return m_dark; }

    QString titleText() const;
    QString countText() const;
    QString sumText() const;
    QRect handleRect() const;

    // The column menu as it would open now; the caller owns it.
    QMenu* createMenu(QWidget* parent = nullptr) const;
    // The accessibility actions: the same calls as the menu, without its disabled rules.
    static QString moveLeftName() { return QStringLiteral("Move Column Left"); }
    static QString moveRightName() { return QStringLiteral("Move Column Right"); }
    void moveLeft() const;
    void moveRight() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool event(QEvent* event) override;

private:
    void refresh();
    QPixmap dragPreview() const;
    int columnIndex() const;

    Store& m_store;
    ColumnModel* m_model;
    bool m_dark = false;
    bool m_pressedOnHandle = false;
    QPoint m_pressPos;
};
