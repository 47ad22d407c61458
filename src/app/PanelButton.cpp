#include "app/PanelButton.h"

#include "ui/Icons.h"
#include "ui/Painters.h"
#include "ui/Theme.h"

#include <QPainter>

namespace {
constexpr int kPadX = 10;
constexpr int kPadY = 7;
constexpr int kIconBox = 16;
constexpr int kGap = 10;
} // namespace

PanelButton::PanelButton(const QString& title, const QString& symbol, QWidget* parent)
    : QAbstractButton(parent), m_symbol(symbol)
{
    setText(title);
    setAccessibleName(title);
    setFont(Theme::font(12, QFont::Medium));
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::TabFocus);
    setAttribute(Qt::WA_Hover);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

QSize PanelButton::sizeHint() const
{
    const QFontMetrics fm(font());
    return {kPadX * 2 + kIconBox + kGap + fm.horizontalAdvance(text()),
            kPadY * 2 + qMax(fm.height(), kIconBox)};
}

void PanelButton::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    if (underMouse() || hasFocus() || isDown()) // WA_Hover repaints on entering and leaving
        Painters::roundedCard(p, rect(), 8, Theme::segment());
    const QRect iconBox(kPadX, 0, kIconBox, height());
    const int iconPx = 13;
    const QPixmap icon = Icons::pixmap(m_symbol, Theme::secondary(), iconPx, devicePixelRatioF());
    if (!icon.isNull()) {
        const QSizeF size = icon.deviceIndependentSize();
        p.drawPixmap(QPointF(iconBox.center().x() + 0.5 - size.width() / 2, (height() - size.height()) / 2),
                     icon);
    }
    p.setPen(Theme::ink());
    p.setFont(font());
    p.drawText(QRect(iconBox.right() + 1 + kGap, 0, width(), height()), Qt::AlignLeft | Qt::AlignVCenter,
               text());
}
