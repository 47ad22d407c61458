#pragma once

#include <QAbstractButton>
#include <QAccessible>
#include <QAccessibleWidget>
#include <QPointer>
#include <QWindow>

// The pieces the application's own accessible interfaces share.
namespace AccessibleKit {

// Gives every object of class T (that class itself, not its subclasses) the interface I(T*) in
// place of Qt's. Installed once per pair; call it before anything asks for such an object's
// interface, since the first one made is kept for the object's life.
template <class T, class I> void install()
{
    static const bool installed = [] {
        QAccessible::installFactory([](const QString& className, QObject* object) -> QAccessibleInterface* {
            if (className != QLatin1String(T::staticMetaObject.className()))
                return nullptr;
            auto* typed = qobject_cast<T*>(object);
            return typed ? new I(typed) : nullptr;
        });
        return true;
    }();
    Q_UNUSED(installed);
}

// A widget that needs nothing but its own role (an alert, say).
template <QAccessible::Role R> class WithRole : public QAccessibleWidget
{
public:
    explicit WithRole(QWidget* widget) : QAccessibleWidget(widget, R) {}
};

// A button that accessibility presses as a click does.
class Pressable : public QAccessibleWidget
{
public:
    Pressable(QAbstractButton* button, QAccessible::Role role) : QAccessibleWidget(button, role) {}

    QStringList actionNames() const override
    {
        return QStringList{pressAction()} + QAccessibleWidget::actionNames();
    }
    void doAction(const QString& name) override
    {
        if (name == pressAction())
            static_cast<QAbstractButton*>(widget())->click();
        else
            QAccessibleWidget::doAction(name);
    }
};

// A part of a widget that paints it itself (a row, a bar): no object and no children of its own,
// it lives in the widget's window under the widget's interface.
class PaintedPart : public QAccessibleInterface
{
public:
    explicit PaintedPart(QWidget* owner) : m_owner(owner) {}

    bool isValid() const override { return m_owner; }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return m_owner ? m_owner->window()->windowHandle() : nullptr; }
    QAccessibleInterface* parent() const override
    {
        return m_owner ? QAccessible::queryAccessibleInterface(m_owner) : nullptr;
    }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    void setText(QAccessible::Text, const QString&) override {}

protected:
    QWidget* owner() const { return m_owner; }

private:
    QPointer<QWidget> m_owner;
};

} // namespace AccessibleKit
