#include "report/YearReport.h"

#include "board/SummaryPanel.h"
#include "i18n/CurrencyRate.h"
#include "i18n/L10n.h"
#include "model/AtomicWrite.h"
#include "model/ExportTarget.h"
#include "model/StatsFigures.h"
#include "model/Store.h"
#include "model/Text.h"
#include "stats/Breakdown.h"
#include "ui/Theme.h"

#include <QBuffer>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QLocale>
#include <QPainter>
#include <QPainterPath>
#include <QPdfWriter>
#include <algorithm>
#include <array>
#include <cmath>
#include <optional>
#include <vector>

namespace YearReport {

namespace {

// The layout is in points; the writer's finer grid keeps the placement of text exact.
constexpr int kResolution = 1200;
constexpr qreal kScale = kResolution / 72.0;
constexpr qreal kMargin = 48;
constexpr qreal kHeaderTop = 30;
constexpr qreal kHeaderRule = 50;
constexpr qreal kBodyTop = 72;
constexpr qreal kFooterBand = 52;
constexpr qreal kSectionGap = 24;
constexpr qreal kRowHeight = 16;
constexpr qreal kHeadRowHeight = 18;
constexpr qreal kCellPad = 5;
constexpr qreal kChartHeight = 150;

// Without letter spacing: the writer's scaled grid would stretch it, and a reader copying the
// text would get spaced-out letters.
QFont font(int size, QFont::Weight weight = QFont::Normal)
{
    QFont f = Theme::font(size, weight);
    // Unhinted advances: the page is printed, not shown on a pixel grid.
    f.setHintingPreference(QFont::PreferNoHinting);
    // Inter's contextual forms (the parentheses and "=" beside figures) have no character of
    // their own, so a PDF reader could neither copy nor find them: plain glyphs only.
    f.setStyleStrategy(QFont::PreferNoShaping);
    return f;
}

// A name as one line of a table: line breaks and other control characters become spaces.
QString oneLine(const QString& text)
{
    QString t = Text::shown(text);
    for (QChar& c : t) {
        if (c.unicode() < 0x20 || c == QChar::LineSeparator || c == QChar::ParagraphSeparator)
            c = QLatin1Char(' ');
    }
    return t;
}

QString orDash(const QString& text)
{
    return Text::trimBlanks(text).isEmpty() ? L10n::kNoFigure : oneLine(text);
}

QString projectCount(const Store& store, qsizetype n, bool paid)
{
    if (store.language() == AppLanguage::tr)
        return QString::number(n) + (paid ? QStringLiteral(" ödenen proje") : QStringLiteral(" proje"));
    return QString::number(n) + (paid ? QStringLiteral(" paid project") : QStringLiteral(" project")) +
           (n == 1 ? QString() : QStringLiteral("s"));
}

// A rate the user typed, as few digits as it needs: "22.5%", "%22,5".
QString ratePercent(const Store& store, double rate)
{
    if (store.language() == AppLanguage::tr)
        return QStringLiteral("%") +
               QLocale(QLocale::Turkish, QLocale::Turkey).toString(rate, 'f', QLocale::FloatingPointShortest);
    return QLocale().toString(rate, 'f', QLocale::FloatingPointShortest) + QLocale().percent();
}

QString reportTitle(const Store& store)
{
    const QString year = QString::number(store.activeYear());
    return store.language() == AppLanguage::tr ? year + QStringLiteral(" Yıl Raporu")
                                               : QStringLiteral("Year Report ") + year;
}

struct Figure
{
    QString label;
    QString value;
    QString detail;
};

// The six figures of the board's summary, with the board's own numbers.
std::array<Figure, 6> summaryFigures(const Store& s)
{
    const bool turkish = s.language() == AppLanguage::tr;
    const QVector<Project> paid = s.paidThisYear();
    double outsource = 0;
    for (const Project& p : paid)
        outsource += p.outsource;
    const double earned = s.total(Status::paid);
    const double target = s.data().targetGoal;

    QString pacing;
    if (!(target > 0)) {
        pacing = s.tr(QStringLiteral("No target set"), QStringLiteral("Hedef belirlenmedi"));
    } else {
        const double remaining = target - earned;
        pacing = s.percent(s.targetProgress()) + QStringLiteral(" · ") +
                 (remaining > 0
                      ? s.tr(QStringLiteral("Remaining: "), QStringLiteral("Kalan: ")) + s.money(remaining)
                      : s.tr(QStringLiteral("Target achieved!"), QStringLiteral("Hedefe ulaşıldı!")));
    }
    return {{
        {s.tr(QStringLiteral("Earned"), QStringLiteral("Kazanılan")), s.money(earned),
         projectCount(s, paid.size(), true)},
        {s.tr(QStringLiteral("Estimated Tax"), QStringLiteral("Tahmini Vergi")), s.money(s.estimatedTax()),
         s.tr(QStringLiteral("Rate: "), QStringLiteral("Oran: ")) + ratePercent(s, s.data().taxRate)},
        {s.tr(QStringLiteral("Net After Tax"), QStringLiteral("Vergi Sonrası Net")), s.money(s.netAfterTax()),
         s.tr(QStringLiteral("Contractor: "), QStringLiteral("Dış Kaynak: ")) + s.money(outsource)},
        {s.tr(QStringLiteral("Annual Target"), QStringLiteral("Yıllık Hedef")), s.money(target), pacing},
        {s.tr(QStringLiteral("Total Pipeline"), QStringLiteral("Toplam Hacim")), s.money(s.pipelineTotal()),
         projectCount(s, s.yearProjects().size(), false)},
        {s.tr(QStringLiteral("Collection Rate"), QStringLiteral("Tahsilat Oranı")),
         SummaryPanel::collectionRatePercent(s.collectionRate(), turkish),
         s.tr(QStringLiteral("of the pipeline is paid"),
              QStringLiteral("toplam hacmin tahsil edilen kısmı"))},
    }};
}

// What both runs of the layout read, worked out once.
struct Content
{
    explicit Content(const Store& store)
        : figures(StatsFigures::compute(store.data().projects, false, store.activeYear(), store.language())),
          paid(store.paidThisYear())
    {
        std::stable_sort(paid.begin(), paid.end(),
                         [](const Project& a, const Project& b) { return a.date < b.date; });
    }

    StatsFigures::Figures figures;
    QVector<Project> paid; // by date
    // The widest text of each column of the projects' table, measured by the first run.
    std::optional<std::array<qreal, 6>> widest;
};

// Lays the report out page by page. Run once without a painter to count the pages, then again
// with one to draw them: both runs measure the same texts, so they break at the same places.
class Layout
{
public:
    Layout(const Store& store, Content& content, const QSizeF& page, QPdfWriter* writer, QPainter* painter,
           int pageCount)
        : m_store(store), m_content(content), m_size(page), m_writer(writer), m_p(painter),
          m_pageCount(pageCount), m_figures(content.figures), m_paid(content.paid)
    {}

    int run()
    {
        startPage();
        title();
        summary();
        chart();
        categories();
        projects();
        return m_page;
    }

private:
    qreal left() const { return kMargin; }
    qreal right() const { return m_size.width() - kMargin; }
    qreal width() const { return right() - left(); }
    qreal bottom() const { return m_size.height() - kFooterBand; }
    QString tr(const QString& en, const QString& trText) const { return m_store.tr(en, trText); }

    void startPage()
    {
        if (m_page > 0 && m_writer)
            m_writer->newPage();
        ++m_page;
        m_y = kBodyTop;
        drawFrame();
    }

    // Starts a new page unless `height` still fits on this one; true when it did.
    bool need(qreal height)
    {
        if (m_y + height <= bottom() || m_y == kBodyTop)
            return false;
        startPage();
        return true;
    }

    // One line of text in `box`, cut short with an ellipsis when it is too wide.
    void text(const QRectF& box, const QString& line, const QFont& f, const QColor& color,
              Qt::Alignment align = Qt::AlignLeft | Qt::AlignVCenter) const
    {
        if (!m_p)
            return;
        m_p->setFont(f);
        m_p->setPen(color);
        const QString shown = QFontMetricsF(f).elidedText(line, Qt::ElideRight, box.width());
        m_p->drawText(box, int(align) | Qt::TextSingleLine, shown);
    }

    qreal textWidth(const QString& line, const QFont& f) const
    {
        return QFontMetricsF(f).horizontalAdvance(line);
    }

    void rule(qreal y, const QColor& color, qreal thickness = 0.6) const
    {
        if (!m_p)
            return;
        m_p->setPen(QPen(color, thickness));
        m_p->drawLine(QPointF(left(), y), QPointF(right(), y));
    }

    void fill(const QRectF& box, const QColor& color, qreal radius = 0) const
    {
        if (!m_p)
            return;
        m_p->setPen(Qt::NoPen);
        m_p->setBrush(color);
        if (radius > 0)
            m_p->drawRoundedRect(box, radius, radius);
        else
            m_p->drawRect(box);
        m_p->setBrush(Qt::NoBrush);
    }

    // The header and the page number of every page.
    void drawFrame() const
    {
        if (!m_p)
            return;
        const QFont brandFont = font(11, QFont::Bold);
        const QString brand = QStringLiteral("Tallybrook");
        text(QRectF(left(), kHeaderTop, width(), 14), brand, brandFont, Theme::brand());
        const qreal after = left() + textWidth(brand, brandFont) + 8;
        text(QRectF(after, kHeaderTop, width() / 2, 14), reportTitle(m_store), font(9, QFont::Medium),
             Theme::secondary());
        const QString prepared = tr(QStringLiteral("Prepared on "), QStringLiteral("Hazırlanma tarihi: ")) +
                                 L10n::day(m_store.today(), m_store.language());
        text(QRectF(left(), kHeaderTop, width(), 14), prepared, font(9), Theme::muted(),
             Qt::AlignRight | Qt::AlignVCenter);
        rule(kHeaderRule, Theme::divider());

        const qreal footer = m_size.height() - kFooterBand + 14;
        rule(footer, Theme::divider());
        const QString page = m_store.language() == AppLanguage::tr
                                 ? QStringLiteral("Sayfa %1 / %2").arg(m_page).arg(m_pageCount)
                                 : QStringLiteral("Page %1 of %2").arg(m_page).arg(m_pageCount);
        text(QRectF(left(), footer + 8, width(), 14), page, font(9), Theme::muted(), Qt::AlignCenter);
    }

    void title()
    {
        text(QRectF(left(), m_y, width(), 30), reportTitle(m_store), font(24, QFont::ExtraBold),
             Theme::ink());
        m_y += 34;
        QString sub = tr(QStringLiteral("Income, estimated tax and paid projects of %1."),
                         QStringLiteral("%1 yılının geliri, tahmini vergisi ve ödenen projeleri."))
                          .arg(m_store.activeYear());
        if (m_store.language() == AppLanguage::tr)
            sub += QStringLiteral(" Tutarlar Türk lirasıdır (1 USD = %1 ₺).")
                       .arg(QLocale(QLocale::Turkish, QLocale::Turkey)
                                .toString(CurrencyRate::usdToTry(), 'f', 2));
        text(QRectF(left(), m_y, width(), 14), sub, font(10), Theme::secondary());
        m_y += 14 + kSectionGap;
    }

    void summary()
    {
        constexpr int kColumns = 3;
        constexpr qreal kGap = 10;
        constexpr qreal kBoxHeight = 66;
        const qreal boxWidth = (width() - (kColumns - 1) * kGap) / kColumns;
        const std::array<Figure, 6> figures = summaryFigures(m_store);
        for (int i = 0; i < int(figures.size()); ++i) {
            const Figure& f = figures[size_t(i)];
            const QRectF box(left() + (i % kColumns) * (boxWidth + kGap),
                             m_y + (i / kColumns) * (kBoxHeight + kGap), boxWidth, kBoxHeight);
            if (m_p) {
                m_p->setPen(QPen(Theme::cardBorder(), 0.8));
                m_p->setBrush(Theme::cream());
                m_p->drawRoundedRect(box, 8, 8);
                m_p->setBrush(Qt::NoBrush);
            }
            const QRectF inner = box.adjusted(12, 10, -12, -10);
            text(QRectF(inner.left(), inner.top(), inner.width(), 11),
                 L10n::upper(m_store.language(), f.label), font(8, QFont::DemiBold), Theme::muted());
            text(QRectF(inner.left(), inner.top() + 14, inner.width(), 22), f.value, font(18, QFont::Bold),
                 Theme::ink());
            text(QRectF(inner.left(), inner.bottom() - 11, inner.width(), 11), f.detail,
                 font(8, QFont::Medium), Theme::secondary());
        }
        m_y += 2 * kBoxHeight + kGap + kSectionGap;
    }

    // A section's title and the line under it.
    void heading(const QString& title, const QString& subtitle)
    {
        text(QRectF(left(), m_y, width(), 18), title, font(13, QFont::Bold), Theme::ink());
        m_y += 18;
        if (!subtitle.isEmpty()) {
            text(QRectF(left(), m_y, width(), 13), subtitle, font(9), Theme::muted());
            m_y += 13;
        }
        m_y += 8;
    }

    QString dateText(const Project& p) const
    {
        return L10n::day(p.date.toLocalTime().date(), m_store.language());
    }

    QString continued(const QString& title) const
    {
        return title + tr(QStringLiteral(" (continued)"), QStringLiteral(" (devam)"));
    }

    QString nothingPaid() const
    {
        return tr(QStringLiteral("No paid projects in %1."), QStringLiteral("%1 yılında ödenen proje yok."))
            .arg(m_store.activeYear());
    }

    void chart()
    {
        need(39 + kChartHeight);
        heading(
            tr(QStringLiteral("Monthly Revenue Distribution"), QStringLiteral("Aylara Göre Gelir Dağılımı")),
            tr(QStringLiteral("Paid fees by month"), QStringLiteral("Aylara göre ödenen bedeller")));
        const QVector<StatsFigures::MonthTotal>& months = m_figures.months;
        const qreal labelsTop = m_y + kChartHeight - 14;
        const qreal plotTop = m_y + 14;
        const qreal baseline = labelsTop - 4;
        if (m_p && !months.isEmpty()) {
            double top = 0;
            for (const StatsFigures::MonthTotal& m : months)
                top = std::max(top, m.value);
            const qreal band = width() / months.size();
            const qreal barWidth = std::min<qreal>(26, band * 0.56);
            const QColor plain = Theme::mix(Theme::bar(), Theme::secondary(), 0.25);
            for (int i = 0; i < months.size(); ++i) {
                const StatsFigures::MonthTotal& m = months[i];
                const qreal centre = left() + band * (i + 0.5);
                const bool peak = m_figures.peakBar && *m_figures.peakBar == i;
                if (top > 0 && m.value > 0) {
                    const qreal height = std::max<qreal>(1.5, (baseline - plotTop) * m.value / top);
                    const QRectF bar(centre - barWidth / 2, baseline - height, barWidth, height);
                    fill(bar, peak ? Theme::brand() : plain, std::min<qreal>(3, height / 2));
                    // Amounts that would crowd their neighbours are set smaller.
                    const QString amount = m_store.money(m.value);
                    QFont valueFont = font(7, peak ? QFont::Bold : QFont::Medium);
                    for (int size = 6; size >= 4 && textWidth(amount, valueFont) > band - 2; --size)
                        valueFont = font(size, peak ? QFont::Bold : QFont::Medium);
                    text(QRectF(centre - band / 2, bar.top() - 12, band, 11), amount, valueFont,
                         peak ? Theme::ink() : Theme::secondary(), Qt::AlignHCenter | Qt::AlignBottom);
                }
                text(QRectF(centre - band / 2, labelsTop, band, 12), m.label, font(8, QFont::Medium),
                     Theme::muted(), Qt::AlignCenter);
            }
            rule(baseline, Theme::border(), 0.8);
            if (!(top > 0))
                text(QRectF(left(), plotTop, width(), baseline - plotTop), nothingPaid(), font(10),
                     Theme::muted(), Qt::AlignCenter);
        }
        m_y += kChartHeight + kSectionGap;
    }

    void categories()
    {
        const QString title = Breakdown::title(m_store, Breakdown::Kind::revenue);
        const QString subtitle = Breakdown::subtitle(m_store, Breakdown::Kind::revenue);
        need(39 + kRowHeight);
        heading(title, subtitle);
        const QVector<NamedTotal>& rows = m_figures.categories;
        if (rows.isEmpty()) {
            text(QRectF(left(), m_y, width(), kRowHeight), nothingPaid(), font(9), Theme::muted());
            m_y += kRowHeight;
        }
        const qreal nameWidth = width() * 0.36;
        const qreal trackLeft = left() + nameWidth + 10;
        const qreal trackWidth = width() * 0.34;
        const double gross = m_figures.sums.gross;
        for (const NamedTotal& row : rows) {
            if (need(kRowHeight))
                heading(continued(title), QString());
            if (m_p) {
                const qreal mid = m_y + kRowHeight / 2;
                text(QRectF(left(), m_y, nameWidth, kRowHeight), orDash(row.name), font(9, QFont::Medium),
                     Theme::ink());
                fill(QRectF(trackLeft, mid - 3, trackWidth, 6), Theme::track(), 3);
                const qreal filled = trackWidth * Breakdown::share(row.amount, gross);
                if (filled > 0)
                    fill(QRectF(trackLeft, mid - 3, std::max<qreal>(filled, 3), 6), Theme::brand(), 3);
                const QString figures =
                    Breakdown::text(Breakdown::figures(m_store, Breakdown::Kind::revenue, row.amount, gross));
                const qreal figuresLeft = trackLeft + trackWidth + 10;
                text(QRectF(figuresLeft, m_y, right() - figuresLeft, kRowHeight), figures,
                     font(9, QFont::DemiBold), Theme::secondary(), Qt::AlignRight | Qt::AlignVCenter);
            }
            m_y += kRowHeight;
        }
        m_y += kSectionGap;
    }

    struct Column
    {
        QString title;
        qreal width = 0;
        bool number = false;
    };

    // Project, client, category, date, fee, outsource: the last three as wide as their widest
    // text, the names share the rest.
    std::array<Column, 6> columns(const QFont& cell, const QFont& bold, const QFont& head,
                                  const QString& feeTotal, const QString& outsourceTotal) const
    {
        std::array<Column, 6> c{{
            {tr(QStringLiteral("Project"), QStringLiteral("Proje")), 0, false},
            {tr(QStringLiteral("Client"), QStringLiteral("Müşteri")), 0, false},
            {tr(QStringLiteral("Category"), QStringLiteral("Kategori")), 0, false},
            {tr(QStringLiteral("Date"), QStringLiteral("Tarih")), 0, false},
            {tr(QStringLiteral("Fee"), QStringLiteral("Ücret")), 0, true},
            {tr(QStringLiteral("Outsource"), QStringLiteral("Dış Kaynak")), 0, true},
        }};
        // The widest texts, but no name wider than half the line has to be measured whole.
        const qreal cap = width() / 2;
        if (!m_content.widest) {
            const QFontMetricsF metrics(cell);
            std::array<qreal, 6> widest{};
            for (size_t i = 0; i < c.size(); ++i)
                widest[i] = textWidth(L10n::upper(m_store.language(), c[i].title), head);
            widest[4] = std::max(widest[4], textWidth(feeTotal, bold));
            widest[5] = std::max(widest[5], textWidth(outsourceTotal, bold));
            for (const Project& p : m_paid) {
                widest[0] = std::max(widest[0], std::min(cap, metrics.horizontalAdvance(oneLine(p.name))));
                widest[1] = std::max(widest[1], std::min(cap, metrics.horizontalAdvance(orDash(p.client))));
                widest[2] = std::max(widest[2], std::min(cap, metrics.horizontalAdvance(orDash(p.category))));
                widest[3] = std::max(widest[3], metrics.horizontalAdvance(dateText(p)));
                widest[4] = std::max(widest[4], metrics.horizontalAdvance(m_store.money(p.fee)));
                widest[5] = std::max(widest[5], metrics.horizontalAdvance(m_store.money(p.outsource)));
            }
            m_content.widest = widest;
        }
        std::array<qreal, 6> need = *m_content.widest;
        for (qreal& n : need)
            n += 2 * kCellPad;
        // Dates and amounts whole (up to half the line for absurd amounts); the names share the
        // rest by what they need.
        const qreal figures = need[3] + need[4] + need[5];
        const qreal fixed = std::min(cap, figures);
        for (size_t i = 3; i < 6; ++i)
            c[i].width = need[i] * fixed / figures;
        // Names that need less than their share get what they need; the others share what is
        // left, the project's name twice as much as the client's or the category's, and the
        // whole line is used.
        const qreal weight[] = {2, 1, 1};
        qreal room = width() - fixed;
        std::vector<size_t> open{0, 1, 2};
        const auto openWeight = [&] {
            qreal sum = 0;
            for (size_t i : open)
                sum += weight[i];
            return sum;
        };
        for (bool settled = true; settled && !open.empty();) {
            settled = false;
            const qreal unit = room / openWeight();
            for (auto it = open.begin(); it != open.end(); ++it) {
                if (need[*it] <= unit * weight[*it]) {
                    c[*it].width = need[*it];
                    room -= need[*it];
                    open.erase(it);
                    settled = true;
                    break;
                }
            }
        }
        const qreal unit = open.empty() ? 0 : room / openWeight();
        for (size_t i : open)
            c[i].width = unit * weight[i];
        if (open.empty()) {
            // Everything fits: the spare room goes to the names equally.
            for (size_t i = 0; i < 3; ++i)
                c[i].width += room / 3;
        }
        return c;
    }

    void tableRow(const std::array<Column, 6>& columns, const std::array<QString, 6>& cells, const QFont& f,
                  const QColor& color, bool upper = false) const
    {
        qreal x = left();
        for (size_t i = 0; i < columns.size(); ++i) {
            const Column& c = columns[i];
            const QString cellText = upper ? L10n::upper(m_store.language(), cells[i]) : cells[i];
            text(QRectF(x + kCellPad, m_y, c.width - 2 * kCellPad, kRowHeight), cellText, f, color,
                 (c.number ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
            x += c.width;
        }
    }

    void tableHead(const std::array<Column, 6>& columns, const QFont& head)
    {
        fill(QRectF(left(), m_y, width(), kHeadRowHeight), Theme::segment(), 4);
        std::array<QString, 6> titles;
        for (size_t i = 0; i < columns.size(); ++i)
            titles[i] = columns[i].title;
        const qreal y = m_y;
        m_y += (kHeadRowHeight - kRowHeight) / 2;
        tableRow(columns, titles, head, Theme::muted(), true);
        m_y = y + kHeadRowHeight;
    }

    void projects()
    {
        const QString title = tr(QStringLiteral("Paid Projects"), QStringLiteral("Ödenen Projeler"));
        const QString subtitle = projectCount(m_store, m_paid.size(), true) +
                                 tr(QStringLiteral(", by date"), QStringLiteral(", tarih sırasıyla"));
        need(39 + kHeadRowHeight + kRowHeight);
        heading(title, subtitle);
        if (m_paid.isEmpty()) {
            text(QRectF(left(), m_y, width(), kRowHeight), nothingPaid(), font(9), Theme::muted());
            m_y += kRowHeight;
            return;
        }
        const QFont cell = font(9);
        const QFont bold = font(9, QFont::Bold);
        const QFont head = font(8, QFont::DemiBold);
        double feeSum = 0;
        double outsourceSum = 0;
        for (const Project& p : std::as_const(m_paid)) {
            feeSum += p.fee;
            outsourceSum += p.outsource;
        }
        const QString feeTotal = m_store.money(feeSum);
        const QString outsourceTotal = m_store.money(outsourceSum);
        const std::array<Column, 6> cols = columns(cell, bold, head, feeTotal, outsourceTotal);
        tableHead(cols, head);
        int row = 0;
        for (const Project& p : std::as_const(m_paid)) {
            if (need(kRowHeight)) {
                heading(continued(title), QString());
                tableHead(cols, head);
                row = 0;
            }
            if (m_p) {
                if (row % 2 == 1)
                    fill(QRectF(left(), m_y, width(), kRowHeight), Theme::cream());
                tableRow(cols,
                         {oneLine(p.name), orDash(p.client), orDash(p.category), dateText(p),
                          m_store.money(p.fee), m_store.money(p.outsource)},
                         cell, Theme::ink());
            }
            m_y += kRowHeight;
            ++row;
        }
        if (need(kRowHeight + 4)) {
            heading(continued(title), QString());
            tableHead(cols, head);
        }
        rule(m_y + 1, Theme::border(), 0.8);
        m_y += 4;
        tableRow(cols,
                 {tr(QStringLiteral("Total"), QStringLiteral("Toplam")), QString(), QString(), QString(),
                  feeTotal, outsourceTotal},
                 bold, Theme::ink());
        m_y += kRowHeight;
    }

    const Store& m_store;
    Content& m_content;
    QSizeF m_size;
    QPdfWriter* m_writer;
    QPainter* m_p;
    int m_pageCount;
    const StatsFigures::Figures& m_figures;
    const QVector<Project>& m_paid;
    int m_page = 0;
    qreal m_y = 0;
};

} // namespace

QPageSize pageSizeFor(const QLocale& locale)
{
    // The countries that print on Letter rather than A4.
    static constexpr QLocale::Territory letter[] = {
        QLocale::UnitedStates, QLocale::Canada,     QLocale::Mexico,     QLocale::Belize,    QLocale::Chile,
        QLocale::Colombia,     QLocale::CostaRica,  QLocale::Guatemala,  QLocale::Nicaragua, QLocale::Panama,
        QLocale::Philippines,  QLocale::PuertoRico, QLocale::ElSalvador, QLocale::Venezuela,
    };
    const bool usesLetter =
        std::find(std::begin(letter), std::end(letter), locale.territory()) != std::end(letter);
    return QPageSize(usesLetter ? QPageSize::Letter : QPageSize::A4);
}

QPageSize systemPageSize()
{
    // Paper has a locale category of its own: English texts on A4 are common.
    for (const char* name : {"LC_ALL", "LC_PAPER"}) {
        const QString value = qEnvironmentVariable(name);
        if (!value.isEmpty())
            return pageSizeFor(QLocale(value.section(QLatin1Char('.'), 0, 0)));
    }
    return pageSizeFor(QLocale());
}

QString fileName(const Store& store)
{
    return store.tr(QStringLiteral("Tallybrook %1 Report.pdf"), QStringLiteral("Tallybrook %1 Raporu.pdf"))
        .arg(store.activeYear());
}

Pdf render(const Store& store, const QPageSize& pageSize)
{
    Pdf pdf;
    const QSizeF page = pageSize.size(QPageSize::Point);
    Content content(store);
    pdf.pages = Layout(store, content, page, nullptr, nullptr, 0).run();

    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setPageSize(pageSize);
        writer.setPageMargins(QMarginsF(0, 0, 0, 0));
        writer.setResolution(kResolution);
        writer.setTitle(reportTitle(store));
        writer.setCreator(QStringLiteral("Tallybrook"));
        QPainter painter;
        if (!painter.begin(&writer)) {
            pdf.error =
                store.tr(QStringLiteral("the PDF could not be drawn."), QStringLiteral("PDF çizilemedi."));
            return pdf;
        }
        painter.setRenderHint(QPainter::Antialiasing);
        painter.scale(kScale, kScale);
        Layout(store, content, page, &writer, &painter, pdf.pages).run();
        painter.end();
    }
    pdf.bytes = buffer.data();
    return pdf;
}

bool write(const Store& store, const QString& path, const QString& dataFile, QString* error, int* pages)
{
    if (const QString refused = ExportTarget::refusal(path, dataFile, store.language()); !refused.isEmpty()) {
        *error = refused;
        return false;
    }
    const Pdf pdf = render(store, systemPageSize());
    if (pdf.bytes.isEmpty()) {
        *error = pdf.error;
        return false;
    }
    if (pages)
        *pages = pdf.pages;
    return AtomicWrite::write(path, pdf.bytes, error);
}

} // namespace YearReport
