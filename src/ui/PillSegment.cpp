#include "ui/PillSegment.h"

#include "ui/Animations.h"
#include "ui/Painters.h"
#include "ui/PillOption.h"
#include "ui/Spring.h"
#include "ui/Theme.h"

#include <QPainter>

namespace {
QRectF lerp(const QRectF& a, const QRectF& b, qreal t)
{
    auto mix = [t](qreal x, qreal y) { return x + (y - x) * t; };
    return QRectF(QPointF(mix(a.left(), b.left()), mix(a.top(), b.top())),
                  QPointF(mix(a.right(), b.right()), mix(a.bottom(), b.bottom())));
}
} // namespace

PillSegment::PillSegment(QWidget* parent) : QWidget(parent), m_spring(new SpringAnimation(0.22, 0.85, this))
{
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    m_spring->setStartValue(0.0);
    m_spring->setEndValue(1.0);
    connect(m_spring, &QVariantAnimation::valueChanged, this, [this](const QVariant& v) {
        m_progress = v.toReal();
        update();
    });
    connect(m_spring, &QAbstractAnimation::finished, this, [this] {
        m_progress = 1;
        m_slideFrom = -1;
        update();
    });
    layoutOptions();
}

void PillSegment::setOptionRole(QAccessible::Role role)
{
    m_optionRole = role;
    for (PillOption* b : std::as_const(m_buttons))
        b->setAccessibleRole(role);
}

void PillSegment::setOptions(const QVector<Option>& options)
{
    m_spring->stop();
    m_slideFrom = -1;
    m_progress = 1;
    qDeleteAll(m_buttons);
    m_buttons.clear();
    m_options = options;
    for (int i = 0; i < m_options.size(); ++i) {
        auto* button = new PillOption(m_options[i].label, m_options[i].icon, this);
        button->setCompact(m_compact);
        button->setAccessibleRole(m_optionRole);
        connect(button, &QAbstractButton::clicked, this, [this, i] { choose(i); });
        button->show();
        m_buttons.append(button);
    }
    syncSelected();
    layoutOptions();
    updateGeometry();
    update();
}

void PillSegment::setCompact(bool compact)
{
    if (compact == m_compact)
        return;
    m_compact = compact;
    for (PillOption* b : std::as_const(m_buttons))
        b->setCompact(compact);
    layoutOptions();
    updateGeometry();
    update();
}

void PillSegment::setSelection(const QVariant& value)
{
    if (value == m_selection)
        return;
    // Programmatic changes (the store moving on its own) jump without sliding.
    m_spring->stop();
    m_slideFrom = -1;
    m_progress = 1;
    m_selection = value;
    syncSelected();
    update();
}

int PillSegment::indexOf(const QVariant& value) const
{
    for (int i = 0; i < m_options.size(); ++i)
        if (m_options[i].value == value)
            return i;
    return -1;
}

int PillSegment::selectedIndex() const
{
    return indexOf(m_selection);
}

PillOption* PillSegment::optionButton(int index) const
{
    return index >= 0 && index < m_buttons.size() ? m_buttons[index] : nullptr;
}

void PillSegment::choose(int index)
{
    if (index < 0 || index >= m_options.size())
        return;
    const int from = selectedIndex();
    if (from == index)
        return;
    m_selection = m_options[index].value;
    syncSelected();
    m_spring->stop();
    if (from >= 0 && Animations::enabled() && isVisible()) {
        m_slideFrom = from;
        m_progress = 0;
        m_spring->start();
    } else {
        m_slideFrom = -1;
        m_progress = 1;
    }
    update();
    emit selectionChanged(m_selection);
}

void PillSegment::syncSelected()
{
    const int selected = selectedIndex();
    for (int i = 0; i < m_buttons.size(); ++i)
        m_buttons[i]->setSelected(i == selected);
}

QRectF PillSegment::optionRect(int index) const
{
    if (index < 0 || index >= m_buttons.size())
        return {};
    return QRectF(m_buttons[index]->geometry());
}

QRectF PillSegment::capsuleRect() const
{
    const int to = selectedIndex();
    if (to < 0)
        return {};
    if (m_slideFrom < 0 || m_slideFrom >= m_buttons.size() || m_progress >= 1)
        return optionRect(to);
    return lerp(optionRect(m_slideFrom), optionRect(to), m_progress);
}

bool PillSegment::isSliding() const
{
    return m_spring->state() == QAbstractAnimation::Running;
}

void PillSegment::layoutOptions()
{
    // Measuring shapes the labels; it is done here, on a change of options, size or
    // compactness, and not for every frame of the slide.
    const int pad = padding();
    QVector<QSize> sizes;
    int w = 0;
    int h = 0;
    for (PillOption* b : std::as_const(m_buttons)) {
        sizes.append(b->sizeHint());
        w += sizes.last().width();
        h = std::max(h, sizes.last().height());
    }
    int x = pad;
    for (int i = 0; i < m_buttons.size(); ++i) {
        m_buttons.at(i)->setGeometry(x, pad, sizes.at(i).width(), h);
        x += sizes.at(i).width();
    }
    m_hint = QSize(w + 2 * pad, h + 2 * pad);
}

QSize PillSegment::sizeHint() const
{
    return m_hint;
}

void PillSegment::resizeEvent(QResizeEvent*)
{
    layoutOptions();
}

void PillSegment::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    const QSize hint = sizeHint();
    const QRectF trough(0, 0, std::min(width(), hint.width()), std::min(height(), hint.height()));
    Painters::capsule(p, trough, Theme::segment(), Theme::border(), 1);
    const QRectF capsule = capsuleRect();
    if (!capsule.isEmpty())
        Painters::capsule(p, capsule, Theme::ink());
}
