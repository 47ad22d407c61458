#pragma once

#include <QWidget>

class CategoryCard;
class KPICard;
class QHBoxLayout;
class MonthlyChart;
class QLabel;
class StatsHeader;
class Store;

// The statistics page: realised revenue of the active year or of all years, as key figures, a
// monthly chart and the category breakdown, and how long clients take to pay. It reads the
// store and writes only the range choice.
class StatsView final : public QWidget
{
    Q_OBJECT

public:
    explicit StatsView(Store& store, QWidget* parent = nullptr);

    StatsHeader* header() const { return m_header; }
    KPICard* card(int index) const { return m_cards.value(index); }
    MonthlyChart* chart() const { return m_chart; }
    CategoryCard* categories() const { return m_categories; }
    CategoryCard* payers() const { return m_payers; }
    QString chartTitle() const;
    QString chartHint() const;

    // Recomputes every figure now (it happens by itself whenever the store changes).
    void refresh();

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void changed();
    // One row of key figures when each gets room for its title, else three above two.
    void arrangeCards();

    Store& m_store;
    StatsHeader* m_header;
    QVector<KPICard*> m_cards;
    QHBoxLayout* m_cardRows[2];
    int m_cardsInFirstRow = 0;
    QLabel* m_chartTitle;
    QLabel* m_chartHint;
    MonthlyChart* m_chart;
    CategoryCard* m_categories;
    CategoryCard* m_payers;
    // A change that arrived while the page was hidden; applied when it shows.
    bool m_stale = false;
};
