#include "ui/LogoView.h"

#include "ui/Resources.h"
#include "ui/Theme.h"

#include <QImageReader>
#include <QPainter>

namespace {
QFont fallbackFont()
{
    return Theme::font(22, QFont::Bold, -0.5);
}
QString fallbackText()
{
    return QStringLiteral("Tallybrook");
}
} // namespace

LogoView::LogoView(int width, QWidget* parent) : LogoView(width, sharedImage(), parent) {}

LogoView::LogoView(int width, const QImage& image, QWidget* parent)
    : QWidget(parent), m_width(std::max(1, width)), m_image(image)
{
    setObjectName(QStringLiteral("logo"));
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    setAccessibleName(fallbackText());
}

const QImage& LogoView::sharedImage()
{
    static const QImage image = [] {
        UiResources::ensure();
        // Named outright: left to guess, the reader loads every image-format plugin first.
        QImageReader reader(QStringLiteral(":/logo.png"), "png");
        reader.setAutoDetectImageFormat(false);
        const QImage img = reader.read();
        return img.isNull() ? QImage() : img.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    }();
    return image;
}

QSize LogoView::sizeHint() const
{
    if (!m_image.isNull()) {
        const qreal h = qreal(m_width) * m_image.height() / std::max(1, m_image.width());
        return QSize(m_width, std::max(1, qRound(h)));
    }
    const QFontMetrics fm(fallbackFont());
    return QSize(fm.horizontalAdvance(fallbackText()) + 1, fm.height());
}

void LogoView::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    if (m_image.isNull()) {
        p.setFont(fallbackFont());
        p.setPen(Qt::black);
        p.drawText(rect(), Qt::AlignLeft | Qt::AlignVCenter, fallbackText());
        return;
    }
    const QSize target = sizeHint();
    const qreal dpr = devicePixelRatioF();
    const QSize pixels(qRound(target.width() * dpr), qRound(target.height() * dpr));
    // Downscaling in one smooth pass per size keeps the thin strokes of the mark clean.
    if (m_scaled.size() != pixels)
        m_scaled = m_image.scaled(pixels, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    QImage shown = m_scaled;
    shown.setDevicePixelRatio(dpr);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.drawImage(QPointF(0, (height() - target.height()) / 2.0), shown);
}
