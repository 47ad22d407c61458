#include "board/AmountLabel.h"

#include "ui/Animations.h"
#include "ui/Theme.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QVariantAnimation>
#include <algorithm>

AmountLabel::AmountLabel(int pixelSize, QFont::Weight weight, qreal letterSpacing, const QColor& color,
                         QWidget* parent)
    : QWidget(parent), m_color(color), m_pixelSize(pixelSize), m_animation(new QVariantAnimation(this))
{
    setFont(Theme::font(pixelSize, weight, letterSpacing));
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    setAttribute(Qt::WA_NoSystemBackground);
    m_animation->setDuration(350);
    m_animation->setEasingCurve(QEasingCurve::OutCubic);
    m_animation->setStartValue(0.0);
    m_animation->setEndValue(1.0);
    connect(m_animation, &QVariantAnimation::valueChanged, this, [this](const QVariant& v) {
        m_roll = v.toReal();
        update();
    });
}

void AmountLabel::setText(const QString& text)
{
    if (text == m_text)
        return;
    m_previous = m_text;
    m_text = text;
    setAccessibleName(text);
    updateGeometry();
    m_animation->stop();
    if (Animations::enabled() && isVisible() && !m_previous.isEmpty()) {
        m_roll = 0;
        m_animation->start();
    } else {
        m_roll = 1;
    }
    update();
}

qreal AmountLabel::fitScale() const
{
    const qreal natural = QFontMetricsF(font()).horizontalAdvance(m_text);
    if (natural <= 0 || natural <= width())
        return 1;
    return std::max(kMinimumScale, width() / natural);
}

QSize AmountLabel::sizeHint() const
{
    const QFontMetricsF fm(font());
    return QSize(int(std::ceil(fm.horizontalAdvance(m_text))) + 1, int(std::ceil(fm.height())));
}

QSize AmountLabel::minimumSizeHint() const
{
    return QSize(0, sizeHint().height());
}

void AmountLabel::drawLine(QPainter& p, const QString& text, qreal dy, qreal opacity) const
{
    if (opacity <= 0 || text.isEmpty())
        return;
    QFont f = font();
    const qreal natural = QFontMetricsF(f).horizontalAdvance(text);
    const qreal scale = natural > width() && natural > 0 ? std::max(kMinimumScale, width() / natural) : 1;
    if (scale < 1) {
        f.setPixelSize(std::max(1, int(std::floor(m_pixelSize * scale))));
        f.setLetterSpacing(QFont::AbsoluteSpacing, font().letterSpacing() * scale);
    }
    const QFontMetricsF fm(f);
    // Smaller text keeps the baseline of the full-size text.
    const qreal baseline = QFontMetricsF(font()).ascent() + dy;
    const QString shown = fm.elidedText(text, Qt::ElideRight, width());
    p.setOpacity(opacity);
    p.setFont(f);
    p.drawText(QPointF(0, baseline), shown);
}

void AmountLabel::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.setClipRect(rect());
    p.setPen(m_color);
    const qreal h = height();
    if (m_roll >= 1) {
        drawLine(p, m_text, 0, 1);
        return;
    }
    drawLine(p, m_previous, -h * m_roll, 1 - m_roll);
    drawLine(p, m_text, h * (1 - m_roll), m_roll);
}
