#include "board/ProjectCursor.h"

#include "board/ProjectList.h"
#include "ui/KeyboardFocus.h"

#include <QAccessible>
#include <QKeyEvent>
#include <QPainter>
#include <QScrollArea>
#include <QWidget>
#include <algorithm>
#include <optional>

ProjectCursor::ProjectCursor(ProjectList* list) : m_list(list)
{
    list->installEventFilter(this);
}

bool ProjectCursor::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != m_list)
        return false;
    switch (event->type()) {
    case QEvent::KeyPress:
        return handleKey(static_cast<QKeyEvent*>(event));
    case QEvent::FocusIn:
        // The first item when none was chosen yet.
        if (row() < 0)
            setRow(0);
        else
            moved();
        return false;
    case QEvent::FocusOut:
        m_list->update();
        return false;
    default:
        return false;
    }
}

int ProjectCursor::row() const
{
    return m_id.isNull() ? -1 : m_list->rowOfProject(m_id);
}

void ProjectCursor::setRow(int row)
{
    const QUuid id = row >= 0 && row < m_list->projectCount() ? m_list->projectIdAt(row) : QUuid();
    if (id == m_id)
        return;
    m_id = id;
    moved();
}

bool ProjectCursor::handleKey(QKeyEvent* event)
{
    const Qt::KeyboardModifiers mods = event->modifiers() & ~Qt::KeypadModifier;
    const int key = event->key();
    const bool menuKey = key == Qt::Key_Menu || (key == Qt::Key_F10 && mods == Qt::ShiftModifier);
    std::optional<BoardKey> board;
    if (mods == Qt::ControlModifier && (key == Qt::Key_Left || key == Qt::Key_Right))
        board = key == Qt::Key_Left ? BoardKey::carryLeft : BoardKey::carryRight;
    else if (mods == Qt::NoModifier && key == Qt::Key_N)
        board = BoardKey::newProject;
    const bool plain = mods == Qt::NoModifier;
    const bool ours = menuKey || board ||
                      (plain && (key == Qt::Key_Up || key == Qt::Key_Down || key == Qt::Key_Left ||
                                 key == Qt::Key_Right || key == Qt::Key_Home || key == Qt::Key_End ||
                                 key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Delete));
    if (!ours)
        return false;
    // Behind an open editor the board stays as it is; the keys are taken so the page does not
    // scroll either.
    if (m_list->editorOpen())
        return true;
    if (board == BoardKey::newProject)
        return m_list->boardKey(*board, -1);

    const int count = m_list->projectCount();
    const int at = row();
    // Across the columns on the board, also from a column left empty; elsewhere (the table) the
    // previous or next item.
    if (plain && (key == Qt::Key_Left || key == Qt::Key_Right) &&
        m_list->boardKey(key == Qt::Key_Left ? BoardKey::left : BoardKey::right, at))
        return true;
    if (count == 0)
        return false;
    if (menuKey) {
        if (at < 0)
            return false;
        const QRect item = m_list->itemRect(at);
        m_list->openMenu(at, m_list->mapToGlobal(item.center()));
        return true;
    }
    if (board)
        return at >= 0 && m_list->boardKey(*board, at);
    switch (key) {
    case Qt::Key_Left:
    case Qt::Key_Right:
        setRow(at < 0 ? 0 : std::clamp(at + (key == Qt::Key_Left ? -1 : 1), 0, count - 1));
        return true;
    case Qt::Key_Up:
        setRow(at < 0 ? 0 : std::max(0, at - 1));
        return true;
    case Qt::Key_Down:
        setRow(at < 0 ? 0 : std::min(count - 1, at + 1));
        return true;
    case Qt::Key_Home:
        setRow(0);
        return true;
    case Qt::Key_End:
        setRow(count - 1);
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (at < 0)
            return false;
        m_list->openEditor(at);
        return true;
    case Qt::Key_Delete:
        return at >= 0 && m_list->boardKey(BoardKey::remove, at);
    default:
        return false;
    }
}

void ProjectCursor::moved()
{
    m_list->update();
    const int at = row();
    if (at < 0)
        return;
    // Brought into view in the page that scrolls around the list.
    const QRect item = m_list->itemRect(at);
    for (QWidget* w = m_list->parentWidget(); w; w = w->parentWidget()) {
        if (auto* area = qobject_cast<QScrollArea*>(w)) {
            if (area->widget() && area->widget()->isAncestorOf(m_list)) {
                const QPoint centre = m_list->mapTo(area->widget(), item.center());
                area->ensureVisible(centre.x(), centre.y(), item.width() / 2 + 16, item.height() / 2 + 16);
            }
            break;
        }
    }
    if (m_list->hasFocus()) {
        // A screen reader follows the focus to the item and reads it.
        QAccessibleEvent focus(m_list, QAccessible::Focus);
        focus.setChild(m_list->accessibleIndexOf(at));
        QAccessible::updateAccessibility(&focus);
    }
}

void ProjectCursor::paintRing(QPainter& p, const QRectF& item, qreal radius) const
{
    if (!m_list->hasFocus())
        return;
    // A 2-pixel line centred 1 pixel inside the item, so its corners keep the item's radius.
    KeyboardFocus::paintRing(p, item, radius + 1, QColor(), 2);
}
