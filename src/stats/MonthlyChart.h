#pragma once

#include "model/StatsFigures.h"

#include <QStringList>
#include <QWidget>
#include <optional>

// Twelve revenue bars in month order on a hidden value axis, the peak in the brand colour,
// and the hovered month's amount in a dark bubble above its bar.
class MonthlyChart final : public QWidget
{
    Q_OBJECT

public:
    static constexpr int kHeight = 230;
    static constexpr int kBarWidth = 26;
    static constexpr int kBarRadius = 6;

    explicit MonthlyChart(QWidget* parent = nullptr);

    // `money` holds the money text of each month's value, in the same order.
    void setMonths(const QVector<StatsFigures::MonthTotal>& months, std::optional<int> peak,
                   const QStringList& money);
    const QVector<StatsFigures::MonthTotal>& months() const { return m_months; }
    QString moneyText(int index) const { return m_money.value(index); }

    // The label of the hovered month; empty when the pointer is over no bar.
    QString selectedMonth() const;
    int selectedIndex() const { return m_selected; }
    void setSelectedIndex(int index);
    void clearSelection() { setSelectedIndex(-1); }

    // The value the top of the plot stands for: the largest total, at least 1000, times 1.15.
    double scaleMax() const;
    QRectF plotRect() const;
    QRectF barRect(int index) const;
    QColor barColor(int index) const;
    // The read-out above the hovered bar; empty when nothing is hovered.
    QRectF bubbleRect() const;
    // The month at a horizontal position in the plot; -1 outside it.
    int indexAt(const QPoint& pos) const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    void selectedMonthChanged();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    qreal bandWidth() const;
    // Every how many months an axis label is written, so labels never collide.
    int labelStep() const;

    QVector<StatsFigures::MonthTotal> m_months;
    double m_scaleMax = 0; // set with the months
    qreal m_widestLabel = 0;
    QStringList m_money;
    std::optional<int> m_peak;
    int m_selected = -1;
};
