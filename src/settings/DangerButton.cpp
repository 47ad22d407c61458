#include "settings/DangerButton.h"

#include "ui/Icons.h"
#include "ui/Painters.h"
#include "ui/TextLabel.h"
#include "ui/Theme.h"

#include <QPainter>

namespace {
constexpr int kPadX = 18;
constexpr int kPadY = 9;
constexpr int kIconSize = 12;
constexpr int kGap = 6;
const QColor kText(0xB9, 0x1C, 0x1C);
const QColor kFill(0xFE, 0xF2, 0xF2);
const QColor kFillPressed(0xFE, 0xE2, 0xE2);
const QColor kOutline(0xFE, 0xCA, 0xCA);
} // namespace

DangerButton::DangerButton(const QString& text, QWidget* parent) : QPushButton(text, parent)
{
    KeyboardFocus::track(this);
    setFont(Theme::font(12, QFont::DemiBold));
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::TabFocus);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

QSize DangerButton::sizeHint() const
{
    const QFontMetrics fm(font());
    const int content = kIconSize + kGap + fm.horizontalAdvance(text());
    return {content + 2 * kPadX, std::max(fm.height(), kIconSize) + 2 * kPadY};
}

void DangerButton::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF area(rect());
    Painters::roundedCard(p, area, 14, isDown() ? kFillPressed : kFill, kOutline);
    const QFontMetrics fm(font());
    const int textWidth = fm.horizontalAdvance(text());
    qreal x = (width() - (kIconSize + kGap + textWidth)) / 2.0;
    p.drawPixmap(
        QPointF(x, (height() - kIconSize) / 2.0),
        Icons::pixmap(QStringLiteral("trash"), kText, kIconSize, devicePixelRatioF(), QFont::DemiBold));
    x += kIconSize + kGap;
    p.setFont(font());
    p.setPen(kText);
    p.drawText(QRectF(x, 0, textWidth + 1, height()), Qt::AlignVCenter | Qt::AlignLeft, text());
    if (KeyboardFocus::ringShown(this))
        Painters::roundedCard(p, area.adjusted(1.5, 1.5, -1.5, -1.5), 12.5, QColor(), kText, 1.5);
}
