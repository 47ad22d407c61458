#include "board/ProjectCursor.h"

#include "board/PaintedProjects.h"
#include "ui/KeyboardFocus.h"

#include <QAccessible>
#include <QKeyEvent>
#include <QPainter>
#include <QScrollArea>
#include <QWidget>

ProjectCursor::ProjectCursor(QWidget* widget, PaintedProjects* projects)
    : m_widget(widget), m_projects(projects)
{
    widget->installEventFilter(this);
}

bool ProjectCursor::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != m_widget)
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
        m_widget->update();
        return false;
    default:
        return false;
    }
}

int ProjectCursor::row() const
{
    return m_id.isNull() ? -1 : m_projects->rowOfProject(m_id);
}

void ProjectCursor::setRow(int row)
{
    const QUuid id = row >= 0 && row < m_projects->projectCount() ? m_projects->projectIdAt(row) : QUuid();
    if (id == m_id)
        return;
    m_id = id;
    moved();
}

bool ProjectCursor::handleKey(QKeyEvent* event)
{
    const int count = m_projects->projectCount();
    if (count == 0)
        return false;
    const int at = row();
    const Qt::KeyboardModifiers mods = event->modifiers() & ~Qt::KeypadModifier;
    if (event->key() == Qt::Key_Menu || (event->key() == Qt::Key_F10 && mods == Qt::ShiftModifier)) {
        if (at < 0)
            return false;
        const QRect item = m_projects->itemRect(at);
        m_projects->openMenu(at, m_widget->mapToGlobal(item.center()));
        return true;
    }
    if (mods != Qt::NoModifier)
        return false;
    switch (event->key()) {
    case Qt::Key_Up:
    case Qt::Key_Left:
        setRow(at < 0 ? 0 : std::max(0, at - 1));
        return true;
    case Qt::Key_Down:
    case Qt::Key_Right:
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
        m_projects->openEditor(at);
        return true;
    default:
        return false;
    }
}

void ProjectCursor::moved()
{
    if (!m_widget)
        return;
    m_widget->update();
    const int at = row();
    if (at < 0)
        return;
    // Brought into view in the page that scrolls around the widget.
    const QRect item = m_projects->itemRect(at);
    for (QWidget* w = m_widget->parentWidget(); w; w = w->parentWidget()) {
        if (auto* area = qobject_cast<QScrollArea*>(w)) {
            if (area->widget() && area->widget()->isAncestorOf(m_widget)) {
                const QPoint centre = m_widget->mapTo(area->widget(), item.center());
                area->ensureVisible(centre.x(), centre.y(), item.width() / 2 + 16, item.height() / 2 + 16);
            }
            break;
        }
    }
    if (m_widget->hasFocus()) {
        // A screen reader follows the focus to the item and reads it.
        QAccessibleEvent focus(m_widget, QAccessible::Focus);
        focus.setChild(m_projects->accessibleIndexOf(at));
        QAccessible::updateAccessibility(&focus);
    }
}

void ProjectCursor::paintRing(QPainter& p, const QRectF& item, qreal radius) const
{
    if (!m_widget || !m_widget->hasFocus())
        return;
    // A 2-pixel line centred 1 pixel inside the item, so its corners keep the item's radius.
    KeyboardFocus::paintRing(p, item, radius + 1, QColor(), 2);
}
