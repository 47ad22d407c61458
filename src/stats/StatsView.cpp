#include "stats/StatsView.h"

#include "i18n/L10n.h"
#include "model/Payments.h"
#include "model/StatsFigures.h"
#include "model/Store.h"
#include "model/Text.h"
#include "stats/Breakdown.h"
#include "stats/CategoryCard.h"
#include "stats/KPICard.h"
#include "stats/MonthlyChart.h"
#include "stats/StatsHeader.h"
#include "ui/PanelFrame.h"
#include "ui/TextLabel.h"
#include "ui/Theme.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace {
constexpr int kBlockGap = 24;
constexpr int kCardGap = 16;
constexpr int kCategoryWidth = 320;
// Narrower key-figure cards cut most titles short.
constexpr int kComfortableCardWidth = 220;

QString paidCount(const Store& store, int n)
{
    if (store.language() == AppLanguage::tr)
        return QString::number(n) + QStringLiteral(" ödenen proje");
    return QString::number(n) + QStringLiteral(" paid project") + (n == 1 ? QString() : QStringLiteral("s"));
}

// The average in whole days, "—" without a paid project that has both days.
QString averageDays(const Store& store, const Payments::DaysToPay& days)
{
    if (!days.averageDays)
        return L10n::kNoFigure;
    return Breakdown::days(store, *days.averageDays);
}

QString averageDaysDetail(const Store& store, int n)
{
    if (n == 0)
        return store.tr(QStringLiteral("No payment days yet"), QStringLiteral("Henüz ödeme günü yok"));
    if (store.language() == AppLanguage::tr)
        return QString::number(n) + QStringLiteral(" ödenen projeden");
    return QStringLiteral("from ") + paidCount(store, n);
}

QVector<NamedTotal> clientRows(const Payments::DaysToPay& days)
{
    QVector<NamedTotal> rows;
    rows.reserve(days.clients.size());
    for (const Payments::ClientDays& c : days.clients)
        rows.append({c.client, c.averageDays});
    return rows;
}
} // namespace

StatsView::StatsView(Store& store, QWidget* parent)
    : QWidget(parent), m_store(store), m_header(new StatsHeader(store, this)),
      m_chartTitle(TextLabel::make(Theme::font(15, QFont::Bold), Theme::ink(), nullptr)),
      m_chartHint(TextLabel::make(Theme::font(12), Theme::muted(), nullptr)), m_chart(new MonthlyChart),
      m_categories(new CategoryCard(store, Breakdown::Kind::revenue)),
      m_payers(new CategoryCard(store, Breakdown::Kind::daysToPay))
{
    setObjectName(QStringLiteral("statsView"));

    auto* cards = new QVBoxLayout;
    cards->setSpacing(kCardGap);
    for (QHBoxLayout*& row : m_cardRows) {
        row = new QHBoxLayout;
        row->setSpacing(kCardGap);
        cards->addLayout(row);
    }
    const char* const icons[] = {"building.columns", "calendar.badge.checkmark", "crown", "trophy",
                                 "calendar"};
    for (const char* icon : icons) {
        auto* card = new KPICard(store, QString::fromLatin1(icon), this);
        card->setObjectName(QStringLiteral("kpi.") + QString::fromLatin1(icon));
        m_cards.append(card);
    }
    arrangeCards();

    auto* chartCard = new PanelFrame(24, 28, this);
    chartCard->setObjectName(QStringLiteral("chartCard"));
    m_chartTitle->setObjectName(QStringLiteral("chartTitle"));
    m_chartHint->setObjectName(QStringLiteral("chartHint"));
    m_chartHint->setWordWrap(true);
    chartCard->body()->setSpacing(4);
    chartCard->body()->addWidget(m_chartTitle);
    chartCard->body()->addWidget(m_chartHint);
    chartCard->body()->addSpacing(24 - 4);
    chartCard->body()->addStretch(1);
    chartCard->body()->addWidget(m_chart);

    auto* categoryCard = new PanelFrame(24, 24, this);
    categoryCard->setObjectName(QStringLiteral("categoryPanel"));
    categoryCard->setFixedWidth(kCategoryWidth);
    categoryCard->body()->addWidget(m_categories);

    auto* payersCard = new PanelFrame(24, 24, this);
    payersCard->setObjectName(QStringLiteral("payersPanel"));
    payersCard->setFixedWidth(kCategoryWidth);
    payersCard->body()->addWidget(m_payers);

    // The two breakdowns share the column beside the chart.
    auto* breakdowns = new QVBoxLayout;
    breakdowns->setSpacing(kBlockGap);
    breakdowns->addWidget(categoryCard);
    breakdowns->addWidget(payersCard);

    auto* lower = new QHBoxLayout;
    lower->setSpacing(kBlockGap);
    lower->addWidget(chartCard, 1, Qt::AlignTop);
    lower->addLayout(breakdowns, 0);

    auto* page = new QVBoxLayout(this);
    page->setContentsMargins(0, 0, 0, 0);
    page->setSpacing(kBlockGap);
    page->addWidget(m_header);
    page->addLayout(cards);
    page->addLayout(lower);
    page->addStretch(1);

    connect(&store, &Store::dataChanged, this, &StatsView::changed);
    connect(&store, &Store::activeYearChanged, this, &StatsView::changed);
    connect(&store.ui(), &UiState::statsAllTimeChanged, this, &StatsView::changed);
    connect(&store, &Store::languageChanged, this, &StatsView::changed);
    connect(&store, &Store::rateChanged, this, &StatsView::changed);
    refresh();
}

QString StatsView::chartTitle() const
{
    return m_chartTitle->text();
}

QString StatsView::chartHint() const
{
    return m_chartHint->text();
}

void StatsView::arrangeCards()
{
    const int count = int(m_cards.size());
    const int oneRowWidth = (width() - (count - 1) * kCardGap) / count;
    const int first = oneRowWidth >= kComfortableCardWidth ? count : (count + 1) / 2;
    if (first == m_cardsInFirstRow)
        return;
    m_cardsInFirstRow = first;
    for (int i = 0; i < count; ++i) {
        m_cardRows[0]->removeWidget(m_cards[i]);
        m_cardRows[1]->removeWidget(m_cards[i]);
    }
    for (int i = 0; i < count; ++i)
        m_cardRows[i < first ? 0 : 1]->addWidget(m_cards[i], 1);
}

void StatsView::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    arrangeCards();
}

void StatsView::changed()
{
    // A hidden page catches up when it is shown again.
    if (!isVisible()) {
        m_stale = true;
        return;
    }
    refresh();
}

void StatsView::refresh()
{
    m_stale = false;
    const Store& store = m_store;
    const AppLanguage language = store.language();
    const bool allTime = store.ui().statsAllTime();
    const StatsFigures::Figures f =
        StatsFigures::compute(store.data().projects, allTime, store.activeYear(), language);
    const QString none = store.tr(QStringLiteral("None"), QStringLiteral("Yok"));

    m_cards[0]->setTexts(StatsFigures::yearLabel(language, allTime, store.activeYear()) +
                             store.tr(QStringLiteral(" Net Revenue"), QStringLiteral(" Net Gelir")),
                         store.money(f.sums.net), paidCount(store, f.paidCount));
    m_cards[1]->setTexts(store.tr(QStringLiteral("Peak Revenue Month"), QStringLiteral("En İyi Ay")),
                         f.peakMonth ? f.peakMonth->label : none,
                         store.money(f.peakMonth ? f.peakMonth->amount : 0));
    const double clientAmount = f.clients.isEmpty() ? 0 : f.clients.first().amount;
    m_cards[2]->setTexts(
        store.tr(QStringLiteral("Highest Paid Client"), QStringLiteral("En Çok Kazandıran Müşteri")),
        f.clients.isEmpty() ? none : Text::shown(f.clients.first().name),
        language == AppLanguage::tr ? QStringLiteral("Toplam: ") + store.money(clientAmount)
                                    : store.money(clientAmount) + QStringLiteral(" total billed"));
    m_cards[3]->setTexts(
        store.tr(QStringLiteral("Highest Value Project"), QStringLiteral("En Yüksek Bütçeli Proje")),
        f.topProject ? Text::shown(f.topProject->name) : none,
        store.money(f.topProject ? f.topProject->fee : 0));

    m_chartTitle->setText(store.tr(QStringLiteral("Monthly Revenue Distribution"),
                                   QStringLiteral("Aylara Göre Gelir Dağılımı")));
    m_chartHint->setText(
        store.tr(QStringLiteral("Hover over any month to view earned revenue."),
                 QStringLiteral("Kazandığınız bedeli görmek için ilgili ayın üzerine gelin.")));
    QStringList money;
    for (const StatsFigures::MonthTotal& m : f.months)
        money << store.money(m.value);
    m_chart->setMonths(f.months, f.peakBar, money);
    m_categories->setCategories(f.categories, f.sums.gross);

    const Payments::DaysToPay days = store.daysToPay(allTime);
    m_cards[4]->setTexts(
        store.tr(QStringLiteral("Average Days to Pay"), QStringLiteral("Ortalama Ödeme Süresi")),
        averageDays(store, days), averageDaysDetail(store, days.count));
    // Each client's track against the slowest one's.
    m_payers->setCategories(clientRows(days), days.clients.isEmpty() ? 0 : days.clients.first().averageDays);
}

void StatsView::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (m_stale)
        refresh();
}

void StatsView::hideEvent(QHideEvent* event)
{
    QWidget::hideEvent(event);
    // Hover and the popover belong to one showing of the page.
    m_chart->clearSelection();
    m_categories->setShowAllCategories(false);
    m_payers->setShowAllCategories(false);
}
