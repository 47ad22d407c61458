#include "board/SortHeaderButton.h"

#include "i18n/L10n.h"
#include "ui/AccessibleKit.h"
#include "ui/Icons.h"
#include "ui/KeyboardFocus.h"
#include "ui/Theme.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QPainter>

namespace {
constexpr int kChevron = 8;
constexpr int kGap = 5;

// A push button whose accessible value says how the table is sorted by it.
class SortHeaderAccessible final : public AccessibleKit::Pressable
{
public:
    explicit SortHeaderAccessible(SortHeaderButton* button) : Pressable(button, QAccessible::Button) {}

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Value)
            return static_cast<const SortHeaderButton*>(object())->sortedText();
        return QAccessibleWidget::text(t);
    }
};
} // namespace

SortHeaderButton::SortHeaderButton(const QString& title, SortField field, AppLanguage language,
                                   QWidget* parent)
    : QAbstractButton(parent), m_title(title), m_shown(L10n::upper(language, title)), m_field(field)
{
    AccessibleKit::install<SortHeaderButton, SortHeaderAccessible>();
    KeyboardFocus::track(this);
    setFont(Theme::font(11, QFont::Bold, 0.6));
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::TabFocus);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    // The accessibility texts are English in both languages.
    setAccessibleName(QStringLiteral("Sort by ") + title);
    setMark(Mark::unsorted);
}

void SortHeaderButton::setMark(Mark mark)
{
    if (m_mark == mark)
        return;
    m_mark = mark;
    QAccessibleValueChangeEvent event(this, sortedText());
    QAccessible::updateAccessibility(&event);
    update();
}

QString SortHeaderButton::sortedText() const
{
    // English in both languages, like the name.
    switch (m_mark) {
    case Mark::ascending:
        return QStringLiteral("Sorted ascending");
    case Mark::descending:
        return QStringLiteral("Sorted descending");
    case Mark::unsorted:
        break;
    }
    return {};
}

QString SortHeaderButton::chevron() const
{
    switch (m_mark) {
    case Mark::ascending:
        return QStringLiteral("chevron.up");
    case Mark::descending:
        return QStringLiteral("chevron.down");
    case Mark::unsorted:
        break;
    }
    return QStringLiteral("chevron.up.chevron.down");
}

QColor SortHeaderButton::chevronColor() const
{
    return m_mark == Mark::unsorted ? Theme::muted() : Theme::ink();
}

QSize SortHeaderButton::sizeHint() const
{
    const QFontMetrics fm(font());
    return {fm.horizontalAdvance(m_shown) + kGap + kChevron + 2, std::max(fm.height(), kChevron) + 8};
}

void SortHeaderButton::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QFontMetrics fm(font());
    const int advance = fm.horizontalAdvance(m_shown);
    const int textWidth = std::min(advance, width() - kGap - kChevron);
    p.setFont(font());
    p.setPen(Theme::secondary());
    // Eliding measures letter spacing differently from the advance: only elide what truly overflows.
    p.drawText(QRectF(0, 0, textWidth + 1, height()), Qt::AlignLeft | Qt::AlignVCenter,
               advance <= textWidth ? m_shown : fm.elidedText(m_shown, Qt::ElideRight, textWidth));
    p.drawPixmap(QPointF(textWidth + kGap, (height() - kChevron) / 2.0),
                 Icons::pixmap(chevron(), chevronColor(), kChevron, devicePixelRatioF(), QFont::Bold));
    KeyboardFocus::paintRing(p, this, QRectF(rect()).adjusted(-0.5, 0.5, 0.5, -0.5), 6);
}
