#include "stats/CloseCircleButton.h"

#include "ui/Icons.h"
#include "ui/Theme.h"

#include <QPainter>

CloseCircleButton::CloseCircleButton(QWidget* parent) : QAbstractButton(parent)
{
    setFixedSize(24, 24);
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::TabFocus);
    setAccessibleName(QStringLiteral("Close"));
}

void CloseCircleButton::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(hasFocus() ? QPen(Theme::muted(), 1) : Qt::NoPen);
    p.setBrush(Theme::cream());
    p.drawEllipse(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5));
    constexpr int kSymbol = 10;
    const QPixmap mark =
        Icons::pixmap(QStringLiteral("xmark"), Theme::muted(), kSymbol, devicePixelRatioF(), QFont::DemiBold);
    p.drawPixmap(QRectF((width() - kSymbol) / 2.0, (height() - kSymbol) / 2.0, kSymbol, kSymbol), mark,
                 QRectF(mark.rect()));
}
