#include "settings/ColorWell.h"

#include "ui/KeyboardFocus.h"
#include "ui/Painters.h"
#include "ui/Theme.h"

#include <QColorDialog>
#include <QPainter>

ColorWell::ColorWell(QWidget* parent) : QAbstractButton(parent)
{
    KeyboardFocus::track(this);
    setFixedSize(sizeHint());
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::TabFocus);
    connect(this, &QAbstractButton::clicked, this, &ColorWell::openDialog);
}

void ColorWell::setColor(const QColor& color)
{
    if (color == m_color)
        return;
    m_color = color;
    update();
}

QColorDialog* ColorWell::dialog() const
{
    return m_dialog;
}

void ColorWell::openDialog()
{
    if (m_dialog) {
        m_dialog->raise();
        m_dialog->activateWindow();
        return;
    }
    auto* dialog = new QColorDialog(m_color, window());
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setWindowModality(Qt::WindowModal);
    dialog->setOption(QColorDialog::ShowAlphaChannel, false);
    dialog->setWindowTitle(accessibleName());
    connect(dialog, &QColorDialog::colorSelected, this, [this](const QColor& picked) {
        if (!picked.isValid())
            return;
        QColor opaque = picked.toRgb();
        opaque.setAlpha(255);
        setColor(opaque);
        emit colorPicked(opaque);
    });
    connect(dialog, &QDialog::finished, this, [this] { m_dialog = nullptr; });
    m_dialog = dialog;
    dialog->open();
}

void ColorWell::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF outer(rect());
    Painters::roundedCard(p, outer, 7, isDown() ? Theme::segment() : QColor(Qt::white), Theme::border());
    // A hairline keeps a colour close to white visible on the white plate.
    QColor edge = Theme::ink();
    edge.setAlphaF(0.12f);
    Painters::roundedCard(p, outer.adjusted(4, 4, -4, -4), 4, m_color, edge);
    KeyboardFocus::paintRing(p, this, outer, 7);
}
