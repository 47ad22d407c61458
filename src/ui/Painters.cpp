#include "ui/Painters.h"

#include "ui/Theme.h"

#include <QHash>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QtMath>
#include <cmath>
#include <vector>

namespace Painters {
namespace {
constexpr qreal kPanelShadowBlur = 14;
constexpr QPointF kPanelShadowOffset{0, 8};

QRectF insideEdge(const QRectF& rect, qreal strokeWidth)
{
    const qreal half = strokeWidth / 2;
    return rect.adjusted(half, half, -half, -half);
}

// Adds the kernel over `padded` (a line with `radius` copies of each edge sample on either side) to
// `out`, term by term in kernel order: each sample gets the same sums in the same order as a
// clamped index would give it, and the loop over the samples vectorises.
inline void convolveLine(const float* padded, int n, const float* kernel, int radius, float* out)
{
    std::fill(out, out + n, 0.0f);
    for (int k = 0; k <= 2 * radius; ++k) {
        const float weight = kernel[k];
        const float* in = padded + k;
        for (int x = 0; x < n; ++x)
            out[x] += in[x] * weight;
    }
}
} // namespace

void blurAlpha(QImage& image, qreal sigma)
{
    if (sigma <= 0 || image.isNull() || image.format() != QImage::Format_Alpha8)
        return;
    const int radius = int(std::ceil(sigma * 3));
    std::vector<float> kernel(size_t(2 * radius + 1));
    float sum = 0;
    for (int i = -radius; i <= radius; ++i) {
        kernel[size_t(i + radius)] = float(std::exp(-(i * i) / (2 * sigma * sigma)));
        sum += kernel[size_t(i + radius)];
    }
    for (float& k : kernel)
        k /= sum;

    // A shadow tile repeats whole rows (the clear margins above and below the shape, its straight
    // sides): each run of equal rows is convolved once.
    const int w = image.width();
    const int h = image.height();
    std::vector<float> rows(static_cast<size_t>(w) * size_t(h)); // horizontally blurred, row by row
    std::vector<float> padded(static_cast<size_t>(w + 2 * radius));
    for (int y = 0; y < h; ++y) {
        const uchar* line = image.constScanLine(y);
        float* out = &rows[size_t(y * w)];
        if (y > 0 && std::equal(line, line + w, image.constScanLine(y - 1))) {
            std::copy(out - w, out, out);
            continue;
        }
        std::fill(padded.begin(), padded.begin() + radius, float(line[0]));
        std::copy(line, line + w, padded.begin() + radius);
        std::fill(padded.begin() + radius + w, padded.end(), float(line[w - 1]));
        convolveLine(padded.data(), w, kernel.data(), radius, out);
    }
    // Vertically, a whole row of sums at a time: row y + k of the kernel's window, clamped to the
    // image, is added for every column at once.
    std::vector<float> acc(static_cast<size_t>(w));
    for (int y = 0; y < h; ++y) {
        std::fill(acc.begin(), acc.end(), 0.0f);
        for (int k = -radius; k <= radius; ++k) {
            const float weight = kernel[size_t(k + radius)];
            const float* in = &rows[size_t(std::clamp(y + k, 0, h - 1) * w)];
            for (int x = 0; x < w; ++x)
                acc[size_t(x)] += in[x] * weight;
        }
        uchar* out = image.scanLine(y);
        for (int x = 0; x < w; ++x)
            out[x] = uchar(std::clamp(std::lround(acc[size_t(x)]), 0L, 255L));
    }
}

namespace {
// A blurred rounded square, sliced nine ways so any card size reuses it.
struct ShadowTile
{
    QImage alpha;   // Format_Alpha8
    int corner = 0; // size of each corner slice
};

const ShadowTile& shadowTile(qreal radius, qreal blur)
{
    static QHash<QPair<int, int>, ShadowTile> cache;
    const auto key = qMakePair(qRound(radius * 4), qRound(blur * 4));
    auto it = cache.find(key);
    if (it != cache.end())
        return *it;
    const qreal sigma = blur / 2;
    const int extent = int(std::ceil(sigma * 3));
    const int c = int(std::ceil(radius)) + 1;
    const int side = 2 * (extent + c) + 2;
    QImage img(side, side, QImage::Format_Alpha8);
    img.fill(0);
    {
        QPainter p(&img);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::black);
        p.drawRoundedRect(QRectF(extent, extent, 2 * c + 2, 2 * c + 2), radius, radius);
    }
    Painters::blurAlpha(img, sigma);
    return *cache.insert(key, ShadowTile{img, extent + c});
}
} // namespace

void capsule(QPainter& p, const QRectF& rect, const QColor& fill, const QColor& stroke, qreal strokeWidth)
{
    roundedCard(p, rect, std::min(rect.width(), rect.height()) / 2, fill, stroke, strokeWidth);
}

void roundedCard(QPainter& p, const QRectF& rect, qreal radius, const QColor& fill, const QColor& stroke,
                 qreal strokeWidth)
{
    if (rect.width() <= 0 || rect.height() <= 0)
        return;
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    const qreal r = std::min({radius, rect.width() / 2, rect.height() / 2});
    if (fill.isValid() && fill.alpha() > 0) {
        p.setPen(Qt::NoPen);
        p.setBrush(fill);
        p.drawRoundedRect(rect, r, r);
    }
    if (stroke.isValid() && stroke.alpha() > 0 && strokeWidth > 0) {
        const QRectF inner = insideEdge(rect, strokeWidth);
        const qreal ri = std::max<qreal>(0, r - strokeWidth / 2);
        p.setPen(QPen(stroke, strokeWidth));
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(inner, ri, ri);
    }
    p.restore();
}

void shadow(QPainter& p, const QRectF& rect, qreal radius, const QColor& color, qreal blur, QPointF offset)
{
    if (rect.width() <= 0 || rect.height() <= 0 || !color.isValid() || color.alpha() == 0)
        return;
    const qreal r = std::min({radius, rect.width() / 2, rect.height() / 2});
    const ShadowTile& tile = shadowTile(r, blur);
    const int side = tile.alpha.width();
    const int corner = tile.corner;
    const int extent = corner - (int(std::ceil(r)) + 1);

    // Tint the tile once per colour.
    static QHash<QPair<qint64, QRgb>, QImage> tinted;
    const auto key = qMakePair(tile.alpha.cacheKey(), color.rgba());
    auto it = tinted.find(key);
    if (it == tinted.end()) {
        QImage img(side, side, QImage::Format_ARGB32_Premultiplied);
        img.fill(Qt::transparent);
        QPainter tp(&img);
        tp.drawImage(0, 0, tile.alpha);
        tp.setCompositionMode(QPainter::CompositionMode_SourceIn);
        tp.fillRect(img.rect(), color);
        tp.end();
        it = tinted.insert(key, img);
    }
    const QImage& img = *it;

    const QRectF outer = rect.translated(offset).adjusted(-extent, -extent, extent, extent);
    const qreal midW = outer.width() - 2 * corner;
    const qreal midH = outer.height() - 2 * corner;
    if (midW < 0 || midH < 0) {
        // Too small to slice: draw the tile stretched.
        p.drawImage(outer, img);
        return;
    }
    const int mid = side - 2 * corner;
    const qreal x[3] = {outer.left(), outer.left() + corner, outer.right() - corner};
    const qreal y[3] = {outer.top(), outer.top() + corner, outer.bottom() - corner};
    const qreal w[3] = {qreal(corner), midW, qreal(corner)};
    const qreal h[3] = {qreal(corner), midH, qreal(corner)};
    const int sx[3] = {0, corner, corner + mid};
    const int sw[3] = {corner, mid, corner};
    // The middle strips repeat one column or row, so plain (unsmoothed) stretching is exact and cheap;
    // the centre is one flat colour.
    p.save();
    p.setRenderHint(QPainter::SmoothPixmapTransform, false);
    for (int row = 0; row < 3; ++row)
        for (int col = 0; col < 3; ++col) {
            if (w[col] <= 0 || h[row] <= 0)
                continue;
            const QRectF target(x[col], y[row], w[col], h[row]);
            if (row == 1 && col == 1)
                p.fillRect(target, QColor::fromRgba(img.pixel(side / 2, side / 2)));
            else
                p.drawImage(target, img, QRectF(sx[col], sx[row], sw[col], sw[row]));
        }
    p.restore();
}

QMarginsF panelShadowMargins()
{
    const qreal extent = std::ceil(kPanelShadowBlur / 2 * 3);
    return QMarginsF(extent - kPanelShadowOffset.x(), extent - kPanelShadowOffset.y(),
                     extent + kPanelShadowOffset.x(), extent + kPanelShadowOffset.y());
}

void panelShadow(QPainter& p, const QRectF& rect, qreal radius)
{
    QColor c = Theme::ink();
    c.setAlphaF(0.05f);
    shadow(p, rect, radius, c, kPanelShadowBlur, kPanelShadowOffset);
}

void panelBody(QPainter& p, const QRectF& rect, qreal radius)
{
    roundedCard(p, rect, radius, Qt::white, Theme::border(), 1);
}

void progressTrack(QPainter& p, const QRectF& rect, double value)
{
    capsule(p, rect, Theme::track());
    const QRectF fill = progressFill(rect, value);
    if (!fill.isEmpty())
        capsule(p, fill, Theme::brand());
}

QRectF progressFill(const QRectF& rect, double value)
{
    if (!std::isfinite(value) || value <= 0 || rect.width() <= 0)
        return {};
    return QRectF(rect.left(), rect.top(), rect.width() * value, rect.height());
}
} // namespace Painters
