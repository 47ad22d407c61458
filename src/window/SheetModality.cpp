#include "window/SheetModality.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QMenu>
#include <QMenuBar>
#include <QShortcut>
#include <QTimer>
#include <QWidget>

namespace {
bool isInput(QEvent::Type type)
{
    switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::Wheel:
    case QEvent::HoverEnter:
    case QEvent::HoverMove:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ContextMenu:
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::TabletPress:
    case QEvent::TabletMove:
    case QEvent::TabletRelease:
        return true;
    default:
        return false;
    }
}
} // namespace

SheetModality::SheetModality(QDialog* sheet, QWidget* window)
    : QObject(sheet), m_sheet(sheet), m_window(window)
{
    qApp->installEventFilter(this);
}

bool SheetModality::inBlockedContent(const QObject* object) const
{
    const auto* widget = qobject_cast<const QWidget*>(object);
    if (!widget || !m_window || widget->window() != m_window)
        return false;
    for (const QWidget* w = widget; w; w = w->parentWidget()) {
        if (qobject_cast<const QMenuBar*>(w))
            return false;
    }
    return true;
}

bool SheetModality::blocksShortcut(const QObject* owner) const
{
    if (const auto* shortcut = qobject_cast<const QShortcut*>(owner))
        return inBlockedContent(shortcut->parent());
    const auto* action = qobject_cast<const QAction*>(owner);
    if (!action)
        return false;
    // The commands shown in the menu bar stay; actions of the content alone are blocked.
    bool any = false;
    const auto objects = action->associatedObjects();
    for (const QObject* object : objects) {
        if (!inBlockedContent(object))
            return false;
        any = true;
    }
    return any;
}

bool SheetModality::eventFilter(QObject* watched, QEvent* event)
{
    if (!m_sheet->isVisible())
        return false;
    const QEvent::Type type = event->type();
    if (type == QEvent::Shortcut)
        return blocksShortcut(watched);
    if (type == QEvent::WindowActivate && watched == m_window) {
        bringSheetForwardLater();
        return false;
    }
    // A menu of the menu bar closing hands the keyboard back to the sheet.
    if (type == QEvent::Hide && qobject_cast<QMenu*>(watched)) {
        bringSheetForwardLater();
        return false;
    }
    if (!isInput(type) || !inBlockedContent(watched))
        return false;
    if (type == QEvent::MouseButtonPress)
        bringSheetForward();
    event->accept();
    return true;
}

void SheetModality::bringSheetForward()
{
    m_sheet->raise();
    m_sheet->activateWindow();
}

void SheetModality::bringSheetForwardLater()
{
    QTimer::singleShot(0, m_sheet, [this] {
        // Not while a menu is open, nor when the window is no longer the active one.
        if (m_sheet->isVisible() && !QApplication::activePopupWidget() && m_window &&
            QApplication::activeWindow() == m_window)
            bringSheetForward();
    });
}

void SheetModality::centre(QWidget* sheet, const QWidget* window)
{
    QRect frame(QPoint(), sheet->size());
    frame.moveCenter(window->geometry().center());
    sheet->move(frame.topLeft());
}
