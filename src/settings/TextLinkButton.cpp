#include "settings/TextLinkButton.h"

#include "ui/KeyboardFocus.h"
#include "ui/Theme.h"

#include <QPainter>

TextLinkButton::TextLinkButton(const QString& text, QWidget* parent) : QAbstractButton(parent)
{
    KeyboardFocus::track(this);
    setText(text);
    QFont f = Theme::font(12, QFont::DemiBold);
    f.setUnderline(true);
    setFont(f);
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::TabFocus);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

QSize TextLinkButton::sizeHint() const
{
    const QFontMetrics fm(font());
    return {fm.horizontalAdvance(text()) + 4, fm.height() + 4};
}

void TextLinkButton::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.setFont(font());
    p.setPen(Theme::secondary());
    if (isDown())
        p.setOpacity(0.6);
    p.drawText(rect(), Qt::AlignCenter, text());
    KeyboardFocus::paintRing(p, this, QRectF(rect()), 4);
}
