#pragma once

#include <QListView>
#include <QPersistentModelIndex>

// The scrolling list of a directory card. Only the visible rows are painted; the edit and
// remove symbols and a client's terms are hit-tested here, so no row needs widgets of its own.
// Keys: F2 or Return edits the current row (a client's terms too), Delete removes it.
class DirectoryList final : public QListView
{
    Q_OBJECT

public:
    enum class RowButton { none, edit, remove, terms };

    explicit DirectoryList(QWidget* parent = nullptr);

    // The symbol under a point of the viewport, and its row.
    RowButton buttonAt(const QPoint& pos, QModelIndex* index = nullptr) const;
    RowButton hoveredButton(const QModelIndex& index) const;
    bool showsKeyboardFocus(const QModelIndex& index) const;
    // What a click on a row's symbol does: asks for the row's name to be edited or removed, or
    // for its terms to be edited.
    void trigger(RowButton button, const QModelIndex& index);

signals:
    void editRequested(const QString& name);
    void removeRequested(const QString& name);
    void termsRequested(const QString& name);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    bool viewportEvent(QEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    void setHovered(const QModelIndex& index, RowButton button);

    QPersistentModelIndex m_hoverIndex;
    RowButton m_hoverButton = RowButton::none;
    QPersistentModelIndex m_pressIndex;
    RowButton m_pressButton = RowButton::none;
    bool m_keyboardFocus = false;
};
