#include "stats/MonthlyChartAccessible.h"

#include "stats/MonthlyChart.h"
#include "ui/AccessibleKit.h"

#include <QPointer>

namespace {

class BarAccessible final : public QAccessibleInterface
{
public:
    BarAccessible(MonthlyChart* chart, int index) : m_chart(chart), m_index(index) {}

    bool isValid() const override { return m_chart && m_index < m_chart->months().size(); }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override
    {
        QAccessibleInterface* p = parent();
        return p ? p->window() : nullptr;
    }
    QAccessibleInterface* parent() const override
    {
        return QAccessible::queryAccessibleInterface(m_chart.data());
    }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessibleInterface* focusChild() const override { return nullptr; }
    QString text(QAccessible::Text t) const override
    {
        if (!isValid())
            return {};
        if (t == QAccessible::Name)
            return m_chart->months()[m_index].label;
        if (t == QAccessible::Value)
            return m_chart->moneyText(m_index);
        return {};
    }
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override
    {
        if (!isValid())
            return {};
        const QRect local = m_chart->barRect(m_index).toAlignedRect();
        return QRect(m_chart->mapToGlobal(local.topLeft()), local.size());
    }
    QAccessible::Role role() const override { return QAccessible::Graphic; }
    QAccessible::State state() const override
    {
        QAccessible::State s;
        s.invisible = !m_chart || !m_chart->isVisible();
        s.readOnly = true;
        return s;
    }

private:
    QPointer<MonthlyChart> m_chart;
    int m_index;
};

} // namespace

MonthlyChartAccessible::MonthlyChartAccessible(MonthlyChart* chart)
    : QAccessibleWidget(chart, QAccessible::Chart)
{}

MonthlyChartAccessible::~MonthlyChartAccessible()
{
    for (QAccessible::Id id : std::as_const(m_bars))
        QAccessible::deleteAccessibleInterface(id);
}

void MonthlyChartAccessible::install()
{
    AccessibleKit::install<MonthlyChart, MonthlyChartAccessible>();
}

MonthlyChart* MonthlyChartAccessible::chart() const
{
    return static_cast<MonthlyChart*>(widget());
}

int MonthlyChartAccessible::childCount() const
{
    return int(chart()->months().size());
}

QAccessibleInterface* MonthlyChartAccessible::child(int index) const
{
    if (index < 0 || index >= childCount())
        return nullptr;
    while (m_bars.size() <= index)
        m_bars.append(
            QAccessible::registerAccessibleInterface(new BarAccessible(chart(), int(m_bars.size()))));
    return QAccessible::accessibleInterface(m_bars[index]);
}

int MonthlyChartAccessible::indexOfChild(const QAccessibleInterface* child) const
{
    for (int i = 0; i < m_bars.size(); ++i) {
        if (QAccessible::accessibleInterface(m_bars[i]) == child)
            return i;
    }
    return -1;
}

QAccessibleInterface* MonthlyChartAccessible::childAt(int x, int y) const
{
    const int index = chart()->indexAt(chart()->mapFromGlobal(QPoint(x, y)));
    return index >= 0 ? child(index) : nullptr;
}
