#include "stats/CategoryPopover.h"

#include "stats/CategoryDetailSheet.h"
#include "ui/PopoverPlace.h"

#include <QKeyEvent>
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
    move(popoverPosition(anchor, size(), 4, PopoverAlign::centre));
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
