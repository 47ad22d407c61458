#include "ui/PillOption.h"

#include "ui/AccessibleKit.h"
#include "ui/Icons.h"
#include "ui/KeyboardFocus.h"
#include "ui/Theme.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QPainter>

namespace {
constexpr int kIconSize = 10;
constexpr int kGap = 6;

// Reports the option as a radio button or page tab that carries the selected state, so that a
// screen reader says which one is chosen.
class PillOptionAccessible final : public AccessibleKit::Pressable
{
public:
    explicit PillOptionAccessible(PillOption* option) : Pressable(option, QAccessible::RadioButton) {}

    QAccessible::Role role() const override { return option()->accessibleRole(); }

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Name) {
            const QString name = widget()->accessibleName();
            return name.isEmpty() ? option()->text() : name;
        }
        return QAccessibleWidget::text(t);
    }
    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        s.selectable = true;
        s.selected = option()->isSelected();
        s.checkable = true;
        s.checked = option()->isSelected();
        return s;
    }

private:
    PillOption* option() const { return static_cast<PillOption*>(widget()); }
};

QFont labelFont(bool selected)
{
    return Theme::font(12, selected ? QFont::DemiBold : QFont::Medium);
}
} // namespace

PillOption::PillOption(const QString& label, const QString& symbol, QWidget* parent)
    : QAbstractButton(parent), m_symbol(symbol)
{
    KeyboardFocus::track(this);
    AccessibleKit::install<PillOption, PillOptionAccessible>();
    setText(label);
    setCheckable(true);
    setFocusPolicy(Qt::TabFocus);
    setCursor(Qt::PointingHandCursor);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void PillOption::setSelected(bool selected)
{
    if (selected == m_selected)
        return;
    m_selected = selected;
    setChecked(selected);
    QAccessibleStateChangeEvent event(this, [] {
        QAccessible::State s;
        s.selected = true;
        s.checked = true;
        return s;
    }());
    QAccessible::updateAccessibility(&event);
    update();
}

void PillOption::setCompact(bool compact)
{
    if (compact == m_compact)
        return;
    m_compact = compact;
    updateGeometry();
    update();
}

QSize PillOption::sizeHint() const
{
    // Measured in the selected weight, so options keep their width when the selection moves.
    const QFontMetrics fm(labelFont(true));
    int content = fm.horizontalAdvance(text());
    if (!m_symbol.isEmpty())
        content += kIconSize + (text().isEmpty() ? 0 : kGap);
    const int padX = m_compact ? 14 : 20;
    const int padY = m_compact ? 5 : 7;
    return QSize(content + 2 * padX, std::max(fm.height(), kIconSize) + 2 * padY);
}

void PillOption::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor color = m_selected ? QColor(Qt::white) : Theme::secondary();
    const QFont font = labelFont(m_selected);
    const QFontMetrics fm(font);
    const int textWidth = fm.horizontalAdvance(text());
    const bool hasIcon = !m_symbol.isEmpty() && Icons::has(m_symbol);
    const int content = textWidth + (hasIcon ? kIconSize + (text().isEmpty() ? 0 : kGap) : 0);
    qreal x = (width() - content) / 2.0;
    if (hasIcon) {
        const QPixmap pm = Icons::pixmap(m_symbol, color, kIconSize, devicePixelRatioF(), QFont::DemiBold);
        p.drawPixmap(QPointF(x, (height() - kIconSize) / 2.0), pm);
        x += kIconSize + kGap;
    }
    p.setFont(font);
    p.setPen(color);
    p.drawText(QRectF(x, 0, textWidth + 1, height()), Qt::AlignVCenter | Qt::AlignLeft, text());

    KeyboardFocus::paintRing(p, this, QRectF(rect()).adjusted(1, 1, -1, -1));
}
