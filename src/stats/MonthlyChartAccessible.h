#pragma once

#include <QAccessibleWidget>
#include <QVector>

class MonthlyChart;

// Exposes the chart as a chart element with one child per bar: the bar's name is its month,
// its value the month's money text.
class MonthlyChartAccessible final : public QAccessibleWidget
{
public:
    explicit MonthlyChartAccessible(MonthlyChart* chart);
    ~MonthlyChartAccessible() override;

    // Registers the factory once per process.
    static void install();

    int childCount() const override;
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QAccessibleInterface* childAt(int x, int y) const override;

    MonthlyChart* chart() const;

private:
    mutable QVector<QAccessible::Id> m_bars;
};
