#include "stats/MonthlyChart.h"

#include "stats/MonthlyChartAccessible.h"
#include "ui/Theme.h"

#include <QAccessible>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

namespace {
constexpr double kLeastTop = 1000;
constexpr double kHeadroom = 1.15;
constexpr double kStub = 0.06;
constexpr int kLabelGap = 6;
constexpr int kBubbleGap = 6;
constexpr int kBubblePadX = 8;
constexpr int kBubblePadY = 4;

// Built once: the chart measures with them on every paint and every pointer move.
const QFont& axisFont()
{
    static const QFont font = Theme::font(11, QFont::Bold);
    return font;
}

const QFont& bubbleFont()
{
    static const QFont font = Theme::font(10, QFont::Bold);
    return font;
}

int axisHeight()
{
    static const int height = QFontMetrics(axisFont()).height() + kLabelGap;
    return height;
}
} // namespace

MonthlyChart::MonthlyChart(QWidget* parent) : QWidget(parent)
{
    // Before anything that asks for this widget's accessible interface (setting its name does):
    // the first interface made is kept for the widget's life.
    MonthlyChartAccessible::install();
    setObjectName(QStringLiteral("monthlyChart"));
    m_scaleMax = kLeastTop * kHeadroom;
    setMouseTracking(true);
    setFixedHeight(kHeight);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    setAccessibleName(QStringLiteral("Monthly revenue chart"));
}

void MonthlyChart::setMonths(const QVector<StatsFigures::MonthTotal>& months, std::optional<int> peak,
                             const QStringList& money)
{
    m_months = months;
    m_peak = peak;
    m_money = money;
    // What every bar and label placement needs, worked out once per new set of months.
    double top = 0;
    m_widestLabel = 0;
    const QFontMetricsF fm(axisFont());
    for (const StatsFigures::MonthTotal& m : m_months) {
        top = std::max(top, m.value);
        m_widestLabel = std::max(m_widestLabel, fm.horizontalAdvance(m.label));
    }
    m_scaleMax = (top <= kLeastTop ? kLeastTop : top) * kHeadroom;
    if (m_selected >= m_months.size())
        setSelectedIndex(-1);
    update();
}

QString MonthlyChart::selectedMonth() const
{
    return m_selected >= 0 && m_selected < m_months.size() ? m_months[m_selected].label : QString();
}

void MonthlyChart::setSelectedIndex(int index)
{
    if (index < 0 || index >= m_months.size())
        index = -1;
    if (index == m_selected)
        return;
    m_selected = index;
    update();
    emit selectedMonthChanged();
}

double MonthlyChart::scaleMax() const
{
    return m_scaleMax;
}

QRectF MonthlyChart::plotRect() const
{
    return QRectF(0, 0, width(), std::max(0, height() - axisHeight()));
}

qreal MonthlyChart::bandWidth() const
{
    return m_months.isEmpty() ? 0 : plotRect().width() / m_months.size();
}

QRectF MonthlyChart::barRect(int index) const
{
    if (index < 0 || index >= m_months.size())
        return {};
    const QRectF plot = plotRect();
    const double max = scaleMax();
    const double shown = std::max(m_months[index].value, max / kHeadroom * kStub);
    const qreal h = std::clamp(shown / max, 0.0, 1.0) * plot.height();
    const qreal centre = plot.left() + (index + 0.5) * bandWidth();
    return QRectF(centre - kBarWidth / 2.0, plot.bottom() - h, kBarWidth, h);
}

QColor MonthlyChart::barColor(int index) const
{
    if (m_peak && *m_peak == index && index >= 0 && index < m_months.size() && m_months[index].value > 0)
        return Theme::brand();
    if (index == m_selected)
        return Theme::barHover();
    return Theme::bar();
}

QRectF MonthlyChart::bubbleRect() const
{
    if (m_selected < 0)
        return {};
    const QFontMetricsF fm(bubbleFont());
    const QString text = moneyText(m_selected);
    const QSizeF size(fm.horizontalAdvance(text) + 2 * kBubblePadX, fm.height() + 2 * kBubblePadY);
    const QRectF bar = barRect(m_selected);
    QRectF bubble(QPointF(bar.center().x() - size.width() / 2, bar.top() - kBubbleGap - size.height()), size);
    // Kept inside the chart so the first and last months' amounts stay readable.
    if (bubble.left() < 0)
        bubble.moveLeft(0);
    if (bubble.right() > width())
        bubble.moveRight(width());
    if (bubble.top() < 0)
        bubble.moveTop(0);
    return bubble;
}

int MonthlyChart::indexAt(const QPoint& pos) const
{
    // Only the plot selects: the month labels below it are for reading.
    if (m_months.isEmpty() || !plotRect().contains(pos) || bandWidth() <= 0)
        return -1;
    return std::clamp(int((pos.x() - plotRect().left()) / bandWidth()), 0, int(m_months.size()) - 1);
}

int MonthlyChart::labelStep() const
{
    const qreal band = bandWidth();
    int step = 1;
    while (step < 12 && band * step < m_widestLabel + 6)
        step = step == 1 ? 2 : (step == 2 ? 3 : (step == 3 ? 4 : (step == 4 ? 6 : 12)));
    return step;
}

QSize MonthlyChart::sizeHint() const
{
    return QSize(12 * (kBarWidth + 20), kHeight);
}

QSize MonthlyChart::minimumSizeHint() const
{
    return QSize(12 * (kBarWidth + 2), kHeight);
}

void MonthlyChart::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.setPen(Qt::NoPen);
    for (int i = 0; i < m_months.size(); ++i) {
        const QRectF bar = barRect(i);
        const qreal radius = std::min<qreal>(kBarRadius, bar.height() / 2);
        p.setBrush(barColor(i));
        p.drawRoundedRect(bar, radius, radius);
    }

    const QRectF plot = plotRect();
    const int step = labelStep();
    p.setFont(axisFont());
    p.setPen(Theme::muted());
    for (int i = 0; i < m_months.size(); i += step) {
        const QRectF band(plot.left() + i * bandWidth() - bandWidth(), plot.bottom() + kLabelGap,
                          3 * bandWidth(), height() - plot.bottom() - kLabelGap);
        p.drawText(band, Qt::AlignHCenter | Qt::AlignTop, m_months[i].label);
    }

    if (m_selected >= 0) {
        const QRectF bubble = bubbleRect();
        p.setPen(Qt::NoPen);
        p.setBrush(Theme::ink());
        p.drawRoundedRect(bubble, kBarRadius, kBarRadius);
        p.setFont(bubbleFont());
        p.setPen(Qt::white);
        p.drawText(bubble, Qt::AlignCenter, moneyText(m_selected));
    }
}

void MonthlyChart::mouseMoveEvent(QMouseEvent* event)
{
    setSelectedIndex(indexAt(event->position().toPoint()));
    QWidget::mouseMoveEvent(event);
}

void MonthlyChart::leaveEvent(QEvent* event)
{
    clearSelection();
    QWidget::leaveEvent(event);
}
