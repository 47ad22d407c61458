#include "app/AppAccessible.h"

#include "app/MenuBarPanel.h"
#include "ui/AccessibleKit.h"

#include <QAccessibleObject>
#include <QApplication>
#include <QWidget>

namespace {

// The windows Qt lists, then the open tray panel.
class ApplicationAccessible final : public QAccessibleApplication
{
public:
    explicit ApplicationAccessible(QApplication*) {}

    int childCount() const override { return QAccessibleApplication::childCount() + int(panels().size()); }
    QAccessibleInterface* child(int index) const override
    {
        const int windows = QAccessibleApplication::childCount();
        if (index < windows)
            return QAccessibleApplication::child(index);
        const QWidgetList open = panels();
        return index - windows < open.size() ? QAccessible::queryAccessibleInterface(open.at(index - windows))
                                             : nullptr;
    }
    int indexOfChild(const QAccessibleInterface* child) const override
    {
        const int index = QAccessibleApplication::indexOfChild(child);
        if (index >= 0 || !child)
            return index;
        const int at = int(panels().indexOf(qobject_cast<QWidget*>(child->object())));
        return at < 0 ? -1 : QAccessibleApplication::childCount() + at;
    }

private:
    static QWidgetList panels()
    {
        QWidgetList open;
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (w->isVisible() && qobject_cast<MenuBarPanel*>(w))
                open.append(w);
        }
        return open;
    }
};

} // namespace

namespace AppAccessible {
void install()
{
    AccessibleKit::install<QApplication, ApplicationAccessible>();
}
} // namespace AppAccessible
