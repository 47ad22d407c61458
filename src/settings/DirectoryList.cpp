#include "settings/DirectoryList.h"
#include "settings/DirectoryListAccessible.h"

#include "settings/DirectoryDelegate.h"
#include "settings/DirectoryModel.h"
#include "ui/CreamScroller.h"

#include <QFocusEvent>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <QToolTip>

// The accessible interface is installed before the view exists: the first one made for a widget
// is kept for its life.
DirectoryList::DirectoryList(QWidget* parent) : QListView((DirectoryListAccessible::install(), parent))
{
    setObjectName(QStringLiteral("directoryList"));
    // Every row has the same height, so the view lays out thousands of names without asking each.
    setUniformItemSizes(true);
    setLayoutMode(QListView::SinglePass);
    setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setSelectionMode(QAbstractItemView::NoSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setFocusPolicy(Qt::TabFocus);
    setMouseTracking(true);
    viewport()->setMouseTracking(true);
    setItemDelegate(new DirectoryDelegate(this));
    creamScroller(this);
    verticalScrollBar()->setSingleStep(DirectoryDelegate::kRowHeight / 2);
    viewport()->setAutoFillBackground(false);
    setAutoFillBackground(false);
}

DirectoryList::RowButton DirectoryList::buttonAt(const QPoint& pos, QModelIndex* index) const
{
    const QModelIndex at = indexAt(pos);
    if (index)
        *index = at;
    if (!at.isValid() || at.data(DirectoryModel::EditingRole).toBool())
        return RowButton::none;
    const QRect item = visualRect(at);
    if (DirectoryDelegate::editButtonRect(item).contains(pos))
        return RowButton::edit;
    if (DirectoryDelegate::removeButtonRect(item).contains(pos))
        return RowButton::remove;
    if (at.data(DirectoryModel::TermsRole).isValid() && DirectoryDelegate::termsRect(item).contains(pos))
        return RowButton::terms;
    return RowButton::none;
}

DirectoryList::RowButton DirectoryList::hoveredButton(const QModelIndex& index) const
{
    return index.isValid() && index == m_hoverIndex ? m_hoverButton : RowButton::none;
}

bool DirectoryList::showsKeyboardFocus(const QModelIndex& index) const
{
    return m_keyboardFocus && hasFocus() && index.isValid() && index == currentIndex();
}

void DirectoryList::setHovered(const QModelIndex& index, RowButton button)
{
    if (button == RowButton::none && m_hoverButton == RowButton::none)
        return;
    const QPersistentModelIndex before = m_hoverIndex;
    m_hoverIndex = button == RowButton::none ? QModelIndex() : index;
    m_hoverButton = button;
    if (before.isValid())
        viewport()->update(visualRect(before));
    if (m_hoverIndex.isValid())
        viewport()->update(visualRect(m_hoverIndex));
    viewport()->setCursor(button == RowButton::none ? Qt::ArrowCursor : Qt::PointingHandCursor);
}

void DirectoryList::trigger(RowButton button, const QModelIndex& index)
{
    const QString name = index.data(Qt::DisplayRole).toString();
    if (button == RowButton::edit)
        emit editRequested(name);
    else if (button == RowButton::remove)
        emit removeRequested(name);
    else if (button == RowButton::terms)
        emit termsRequested(name);
}

void DirectoryList::mousePressEvent(QMouseEvent* event)
{
    m_keyboardFocus = false;
    QModelIndex index;
    const RowButton button =
        event->button() == Qt::LeftButton ? buttonAt(event->position().toPoint(), &index) : RowButton::none;
    if (button != RowButton::none) {
        m_pressIndex = index;
        m_pressButton = button;
        event->accept();
        return;
    }
    m_pressButton = RowButton::none;
    QListView::mousePressEvent(event);
}

void DirectoryList::mouseReleaseEvent(QMouseEvent* event)
{
    if (m_pressButton != RowButton::none && event->button() == Qt::LeftButton) {
        QModelIndex index;
        const RowButton button = buttonAt(event->position().toPoint(), &index);
        const RowButton pressed = m_pressButton;
        const QPersistentModelIndex pressedIndex = m_pressIndex;
        m_pressButton = RowButton::none;
        m_pressIndex = QModelIndex();
        event->accept();
        // A click is a press and a release on the same symbol of the same row.
        if (button == pressed && index == pressedIndex)
            trigger(button, index);
        return;
    }
    QListView::mouseReleaseEvent(event);
}

void DirectoryList::mouseDoubleClickEvent(QMouseEvent* event)
{
    // A quick second click on a symbol counts as another click, not as a double click.
    mousePressEvent(event);
}

void DirectoryList::mouseMoveEvent(QMouseEvent* event)
{
    QModelIndex index;
    const RowButton button = buttonAt(event->position().toPoint(), &index);
    setHovered(index, button);
    if (m_pressButton == RowButton::none)
        QListView::mouseMoveEvent(event);
}

void DirectoryList::leaveEvent(QEvent* event)
{
    setHovered(QModelIndex(), RowButton::none);
    QListView::leaveEvent(event);
}

void DirectoryList::scrollContentsBy(int dx, int dy)
{
    QListView::scrollContentsBy(dx, dy);
    // The rows moved under a resting pointer.
    const QPoint pos = viewport()->mapFromGlobal(QCursor::pos());
    if (viewport()->rect().contains(pos)) {
        QModelIndex index;
        const RowButton button = buttonAt(pos, &index);
        setHovered(index, button);
    }
}

void DirectoryList::keyPressEvent(QKeyEvent* event)
{
    m_keyboardFocus = true;
    const QModelIndex current = currentIndex();
    // Only keys meant for the list itself, not ones passed up from the row editor.
    if (current.isValid() && hasFocus() && event->modifiers() == Qt::NoModifier) {
        switch (event->key()) {
        case Qt::Key_F2:
        case Qt::Key_Return:
        case Qt::Key_Enter:
            trigger(RowButton::edit, current);
            event->accept();
            return;
        case Qt::Key_Delete:
            trigger(RowButton::remove, current);
            event->accept();
            return;
        default:
            break;
        }
    }
    QListView::keyPressEvent(event);
    viewport()->update();
}

void DirectoryList::focusInEvent(QFocusEvent* event)
{
    // Tabbing in shows which row the keys act on; a click does not.
    m_keyboardFocus = event->reason() == Qt::TabFocusReason || event->reason() == Qt::BacktabFocusReason;
    QListView::focusInEvent(event);
    viewport()->update();
}

void DirectoryList::focusOutEvent(QFocusEvent* event)
{
    QListView::focusOutEvent(event);
    viewport()->update();
}

bool DirectoryList::viewportEvent(QEvent* event)
{
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        QModelIndex index;
        const RowButton button = buttonAt(help->pos(), &index);
        if (button == RowButton::none) {
            QToolTip::hideText();
            event->ignore();
            return true;
        }
        const QRect item = visualRect(index);
        QString tip;
        QRect area;
        if (button == RowButton::terms) {
            tip = index.data(DirectoryModel::TermsLabelRole).toString() + QStringLiteral(": ") +
                  index.data(DirectoryModel::TermsTextRole).toString();
            area = DirectoryDelegate::termsRect(item);
        } else if (button == RowButton::edit) {
            tip = index.data(DirectoryModel::EditLabelRole).toString();
            area = DirectoryDelegate::editButtonRect(item);
        } else {
            tip = index.data(DirectoryModel::RemoveLabelRole).toString();
            area = DirectoryDelegate::removeButtonRect(item);
        }
        QToolTip::showText(help->globalPos(), tip, viewport(), area);
        return true;
    }
    return QListView::viewportEvent(event);
}
