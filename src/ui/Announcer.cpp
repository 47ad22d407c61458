#include "ui/Announcer.h"

#include "ui/AccessibleKit.h"

#include <QAccessible>
#include <QAccessibleWidget>

Announcer::Announcer(QWidget* parent) : QWidget(parent)
{
    AccessibleKit::install<Announcer, AccessibleKit::WithRole<QAccessible::AlertMessage>>();
    setObjectName(QStringLiteral("announcer"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    // Shown, or a screen reader would take it for gone; one pixel that paints nothing.
    setGeometry(0, 0, 1, 1);
}

void Announcer::say(const QString& text)
{
    setAccessibleName(text);
    QAccessibleEvent shown(this, QAccessible::ObjectShow);
    QAccessible::updateAccessibility(&shown);
}
