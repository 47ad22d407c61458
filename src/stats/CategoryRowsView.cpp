#include "stats/CategoryRowsView.h"
#include "stats/CategoryRowsAccessible.h"

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

CategoryRowsView::CategoryRowsView(Store& store, Breakdown::Kind kind, QWidget* parent)
    : QWidget(parent), m_store(store), m_kind(kind)
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

double CategoryRowsView::share(int position) const
{
    if (position < 0 || position >= m_shown.size())
        return 0;
    return Breakdown::share(m_shown[position].amount, m_gross);
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
    if (position >= m_shown.size())
        return Breakdown::placeholder(m_store, m_kind);
    return Breakdown::text(Breakdown::figures(m_store, m_kind, m_shown[position].amount, m_gross));
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
            const Breakdown::Figures figures =
                Breakdown::figures(m_store, m_kind, m_shown[i].amount, m_gross);
            CategoryRowPainter::paint(p, rowRect(i), CategoryRowPainter::cardLook(),
                                      {nameText(i), figures.figure, figures.detail}, share(i));
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
