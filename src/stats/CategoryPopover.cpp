#include "stats/CategoryPopover.h"

#include "stats/CategoryDetailSheet.h"

#include <QKeyEvent>
#include <QScreen>
#include <QVBoxLayout>

CategoryPopover::CategoryPopover(Store& store, Breakdown::Kind kind, const QVector<NamedTotal>& categories,
                                 double gross, QWidget* parent)
    : QWidget(parent, Qt::Popup), m_sheet(new CategoryDetailSheet(store, kind, categories, gross, this))
{
    setObjectName(QStringLiteral("categoryPopover"));
    setAttribute(Qt::WA_DeleteOnClose);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_sheet);
    connect(m_sheet, &CategoryDetailSheet::dismiss, this, &QWidget::close);
}

void CategoryPopover::openBelow(QWidget* anchor)
{
    adjustSize();
    QPoint at(0, 0);
    if (anchor) {
        const QPoint bottomCentre = anchor->mapToGlobal(QPoint(anchor->width() / 2, anchor->height()));
        at = QPoint(bottomCentre.x() - width() / 2, bottomCentre.y() + 4);
        if (const QScreen* screen = anchor->screen()) {
            const QRect area = screen->availableGeometry();
            // Without room below, it opens above the anchor, as popovers do near a screen edge.
            if (at.y() + height() - 1 > area.bottom())
                at.setY(anchor->mapToGlobal(QPoint(0, 0)).y() - 4 - height());
            at.setX(std::clamp(at.x(), area.left(), std::max(area.left(), area.right() - width() + 1)));
            at.setY(std::clamp(at.y(), area.top(), std::max(area.top(), area.bottom() - height() + 1)));
        }
    }
    move(at);
    show();
    activateWindow();
    m_sheet->setFocus();
}

void CategoryPopover::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

void CategoryPopover::hideEvent(QHideEvent* event)
{
    QWidget::hideEvent(event);
    emit closed();
}
