// Draws the brand logo (300 x 47, transparent) that ships as resources/logo.png.
// Usage: tb_logo_art OUTPUT.png
#include "ui/Theme.h"

#include <QApplication>
#include <QPainter>
#include <QPainterPath>
#include <cstdio>

namespace {
constexpr int kWidth = 300;
constexpr int kHeight = 47;
constexpr int kScale = 4; // drawn large, then reduced once, for clean edges

void drawMark(QPainter& p, const QRectF& box)
{
    p.setPen(Qt::NoPen);
    p.setBrush(Theme::brand());
    p.drawRoundedRect(box, box.width() * 0.26, box.width() * 0.26);

    // Four tally strokes and the crossing fifth, in white.
    QPen pen(Qt::white, box.width() * 0.085, Qt::SolidLine, Qt::RoundCap);
    p.setPen(pen);
    const qreal top = box.top() + box.height() * 0.27;
    const qreal bottom = box.bottom() - box.height() * 0.27;
    for (int i = 0; i < 4; ++i) {
        const qreal x = box.left() + box.width() * (0.29 + 0.14 * i);
        p.drawLine(QPointF(x, top), QPointF(x, bottom));
    }
    p.drawLine(QPointF(box.left() + box.width() * 0.2, bottom - box.height() * 0.04),
               QPointF(box.right() - box.width() * 0.2, top + box.height() * 0.04));
}
} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: tb_logo_art OUTPUT.png\n");
        return 2;
    }
    QImage big(kWidth * kScale, kHeight * kScale, QImage::Format_ARGB32_Premultiplied);
    big.fill(Qt::transparent);
    QPainter p(&big);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(kScale, kScale);

    const qreal markSize = 38;
    drawMark(p, QRectF(1, (kHeight - markSize) / 2, markSize, markSize));

    // The word as outlines, fitted to the space right of the mark.
    const qreal left = markSize + 10;
    QFont font = Theme::font(36, QFont::ExtraBold, -1.2);
    QPainterPath tally;
    QPainterPath brook;
    tally.addText(0, 0, font, QStringLiteral("Tally"));
    const qreal tallyAdvance = QFontMetricsF(font).horizontalAdvance(QStringLiteral("Tally"));
    brook.addText(tallyAdvance, 0, font, QStringLiteral("brook"));
    const QRectF bounds = tally.boundingRect().united(brook.boundingRect());
    const qreal fit = std::min((kWidth - left - 2) / bounds.width(), (kHeight - 4) / bounds.height());
    QTransform t;
    t.translate(left, (kHeight - bounds.height() * fit) / 2);
    t.scale(fit, fit);
    t.translate(-bounds.left(), -bounds.top());
    p.setPen(Qt::NoPen);
    p.setBrush(Theme::ink());
    p.drawPath(t.map(tally));
    p.setBrush(Theme::brand());
    p.drawPath(t.map(brook));
    p.end();

    const QImage logo = big.scaled(kWidth, kHeight, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                            .convertToFormat(QImage::Format_ARGB32);
    if (!logo.save(QString::fromLocal8Bit(argv[1]), "PNG")) {
        std::fprintf(stderr, "could not write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
