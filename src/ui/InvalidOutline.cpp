#include "ui/InvalidOutline.h"

#include "ui/Painters.h"
#include "ui/Theme.h"

#include <QEvent>
#include <QPainter>

namespace {
constexpr qreal kRadius = 12;
constexpr qreal kWidth = 1.5;

QString invalidText()
{
    // The same words in both interface languages.
    return QStringLiteral("Not a valid amount");
}
} // namespace

InvalidOutline::InvalidOutline(QWidget* field) : QWidget(field)
{
    setObjectName(QStringLiteral("invalidOutline"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    setFocusPolicy(Qt::NoFocus);
    setGeometry(field->rect());
    field->installEventFilter(this);
    hide();
}

InvalidOutline* InvalidOutline::of(const QWidget* field)
{
    if (!field)
        return nullptr;
    return field->findChild<InvalidOutline*>(QString(), Qt::FindDirectChildrenOnly);
}

bool InvalidOutline::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == parent() && event->type() == QEvent::Resize) {
        setGeometry(parentWidget()->rect());
        raise();
    }
    return QWidget::eventFilter(watched, event);
}

void InvalidOutline::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    Painters::roundedCard(p, QRectF(rect()), kRadius, QColor(), Theme::rose(), kWidth);
}

void setInvalid(QWidget* field, bool invalid)
{
    if (!field)
        return;
    InvalidOutline* outline = InvalidOutline::of(field);
    if (!outline) {
        if (!invalid)
            return;
        outline = new InvalidOutline(field);
    }
    outline->setGeometry(field->rect());
    outline->raise();
    outline->setVisible(invalid);
    field->setAccessibleDescription(invalid ? invalidText() : QString());
}

bool isInvalid(const QWidget* field)
{
    const InvalidOutline* outline = InvalidOutline::of(field);
    return outline && !outline->isHidden();
}
