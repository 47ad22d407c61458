#include "ui/PopoverPlace.h"

#include <QScreen>
#include <QWidget>
#include <algorithm>

QPoint popoverPosition(const QWidget* anchor, const QSize& size, int gap, PopoverAlign align)
{
    if (!anchor)
        return {};
    const QPoint below = anchor->mapToGlobal(
        QPoint(align == PopoverAlign::centre ? anchor->width() / 2 : 0, anchor->height()));
    QPoint at(align == PopoverAlign::centre ? below.x() - size.width() / 2 : below.x(), below.y() + gap);
    if (const QScreen* screen = anchor->screen()) {
        const QRect area = screen->availableGeometry();
        // Without room below, it opens above the anchor, as popovers do near a screen edge.
        if (at.y() + size.height() - 1 > area.bottom())
            at.setY(anchor->mapToGlobal(QPoint(0, 0)).y() - gap - size.height());
        at.setX(std::clamp(at.x(), area.left(), std::max(area.left(), area.right() - size.width() + 1)));
        at.setY(std::clamp(at.y(), area.top(), std::max(area.top(), area.bottom() - size.height() + 1)));
    }
    return at;
}
