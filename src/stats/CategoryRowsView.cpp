#include "stats/CategoryRowsView.h"
#include "stats/CategoryRowsAccessible.h"

#include "model/StatsFigures.h"
#include "model/Store.h"
#include "model/Text.h"
#include "stats/CategoryRowPainter.h"

#include <QAccessible>
#include <QPainter>

namespace {
int rowHeight()
{
    return CategoryRowPainter::height(CategoryRowPainter::cardLook());
}
} // namespace

CategoryRowsView::CategoryRowsView(Store& store, QWidget* parent) : QWidget(parent), m_store(store)
{
    CategoryRowsAccessible::install();
    setObjectName(QStringLiteral("categoryRows"));
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    setFixedHeight(sizeHint().height());
    for (auto signal : {&Store::languageChanged, &Store::rateChanged})
        connect(&store, signal, this, [this] {
            refreshAccessibility();
            update();
        });
    refreshAccessibility();
}

void CategoryRowsView::setCategories(const QVector<NamedTotal>& categories, double gross)
{
    m_shown = categories.mid(0, kRows);
    m_gross = gross;
    refreshAccessibility();
    update();
}

QRectF CategoryRowsView::rowRect(int position) const
{
    return QRectF(0, kTop + position * (rowHeight() + kSpacing), width(), rowHeight());
}

QString CategoryRowsView::nameText(int position) const
{
    if (position < 0 || position >= kRows)
        return {};
    if (position < m_shown.size())
        return Text::shown(m_shown[position].name);
    return m_store.tr(QStringLiteral("N/A"), QStringLiteral("Boş"));
}

QString CategoryRowsView::figuresText(int position) const
{
    if (position < 0 || position >= kRows)
        return {};
    if (position >= m_shown.size()) {
        // Fixed texts: a placeholder does not follow the selected currency.
        return m_store.tr(QStringLiteral("0% ($0)"), QStringLiteral("%0 (0 ₺)"));
    }
    const NamedTotal& row = m_shown[position];
    return m_store.percent(StatsFigures::share(row.amount, m_gross)) + QStringLiteral(" (") +
           m_store.money(row.amount) + QStringLiteral(")");
}

QSize CategoryRowsView::sizeHint() const
{
    return QSize(272, kTop + kRows * rowHeight() + (kRows - 1) * kSpacing + kBottom);
}

QSize CategoryRowsView::minimumSizeHint() const
{
    return QSize(120, sizeHint().height());
}

void CategoryRowsView::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    for (int i = 0; i < kRows; ++i) {
        if (i < m_shown.size()) {
            const NamedTotal& row = m_shown[i];
            const double share = StatsFigures::share(row.amount, m_gross);
            CategoryRowPainter::paint(
                p, rowRect(i), CategoryRowPainter::cardLook(),
                {Text::shown(row.name), m_store.percent(share), m_store.money(row.amount)}, share);
        } else {
            CategoryRowPainter::paintPlaceholder(p, rowRect(i), nameText(i), figuresText(i));
        }
    }
}

void CategoryRowsView::refreshAccessibility()
{
    QStringList lines;
    for (int i = 0; i < m_shown.size(); ++i)
        lines << nameText(i) + QStringLiteral(": ") + figuresText(i);
    setAccessibleDescription(lines.join(QStringLiteral("; ")));
    // The rows are the bars a screen reader lists: their number and order may have changed.
    QAccessibleEvent reordered(this, QAccessible::ObjectReorder);
    QAccessible::updateAccessibility(&reordered);
}
