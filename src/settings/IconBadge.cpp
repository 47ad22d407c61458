#include "settings/IconBadge.h"

#include "ui/Icons.h"
#include "ui/Painters.h"
#include "ui/Theme.h"

#include <QPainter>

namespace {
constexpr int kSymbolSize = 13;
}

IconBadge::IconBadge(const QString& symbol, QWidget* parent) : QWidget(parent), m_symbol(symbol)
{
    setFixedSize(32, 32);
}

void IconBadge::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    Painters::capsule(p, QRectF(rect()), Theme::cream(), Theme::border());
    const QPixmap icon = Icons::pixmap(m_symbol, Theme::secondary(), kSymbolSize, devicePixelRatioF());
    p.drawPixmap(QPointF((width() - kSymbolSize) / 2.0, (height() - kSymbolSize) / 2.0), icon);
}
