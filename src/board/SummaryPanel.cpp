#include "board/SummaryPanel.h"

#include "board/AmountLabel.h"
#include "board/SummaryParts.h"
#include "board/TargetPopover.h"
#include "board/TaxRateBox.h"
#include "model/Store.h"
#include "ui/ColorDot.h"
#include "ui/CountBadge.h"
#include "ui/Eyebrow.h"
#include "ui/ProgressTrack.h"
#include "ui/StatusStyle.h"
#include "ui/TextLabel.h"
#include "ui/Theme.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QVBoxLayout>
#include <cmath>

namespace {
constexpr int kSectionGap = 28;

QLabel* label(const QFont& font, const QColor& color, QWidget* parent, const char* name = nullptr)
{
    QLabel* l = TextLabel::make(font, color, parent);
    if (name)
        l->setObjectName(QString::fromLatin1(name));
    return l;
}

QWidget* section(QWidget* parent, int left, int right, QVBoxLayout*& stack)
{
    auto* w = new QWidget(parent);
    // The three sections share the width equally, whatever their contents.
    w->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    stack = new QVBoxLayout(w);
    stack->setContentsMargins(left, 0, right, 0);
    stack->setSpacing(12);
    return w;
}

QString colorName(const QColor& c)
{
    return c.name(QColor::HexRgb);
}

} // namespace

SummaryPanel::SummaryPanel(Store& store, QWidget* parent) : PanelFrame(24, 28, parent), m_store(store)
{
    setObjectName(QStringLiteral("summaryPanel"));
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    auto* row = new QHBoxLayout;
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    row->addWidget(buildEarned(), 1);
    row->addWidget(new SummarySeparator(this));
    row->addWidget(buildTarget(), 1);
    row->addWidget(new SummarySeparator(this));
    row->addWidget(buildPipeline(), 1);
    body()->addLayout(row);

    connect(&m_store, &Store::dataChanged, this, &SummaryPanel::refresh);
    connect(&m_store, &Store::activeYearChanged, this, &SummaryPanel::refresh);
    connect(&m_store, &Store::languageChanged, this, &SummaryPanel::retranslate);
    connect(&m_store, &Store::rateChanged, this, &SummaryPanel::refresh);
    connect(&m_store, &Store::dayChanged, this, &SummaryPanel::refresh);
    retranslate();
}

QWidget* SummaryPanel::buildEarned()
{
    QVBoxLayout* stack;
    QWidget* w = section(this, 0, kSectionGap, stack);

    auto* head = new QHBoxLayout;
    head->setSpacing(6);
    head->addWidget(new ColorDot(StatusStyle::dot(Status::paid), 6, w));
    m_earnedTitle = new Eyebrow(QString(), Theme::muted(), &m_store, w);
    m_earnedTitle->setObjectName(QStringLiteral("earnedTitle"));
    head->addWidget(m_earnedTitle);
    head->addStretch(1);
    stack->addLayout(head);

    m_earned = new AmountLabel(46, QFont::ExtraBold, -1, Theme::brand(), w);
    m_earned->setObjectName(QStringLiteral("earnedAmount"));
    stack->addWidget(m_earned);
    stack->addStretch(1);

    auto* tax = new QHBoxLayout;
    tax->setSpacing(8);
    const QFont text = Theme::font(12, QFont::Medium);
    m_taxLabel = label(text, Theme::muted(), w);
    m_tax = new TaxRateBox(m_store, w);
    m_net = label(text, Theme::secondary(), w, "netText");
    m_net->setTextFormat(Qt::RichText);
    tax->addWidget(m_taxLabel);
    tax->addWidget(m_tax);
    QLabel* dot = label(text, Theme::faint(), w);
    dot->setText(QStringLiteral("·"));
    tax->addWidget(dot);
    tax->addWidget(m_net);
    tax->addStretch(1);
    stack->addLayout(tax);
    return w;
}

QWidget* SummaryPanel::buildTarget()
{
    QVBoxLayout* stack;
    QWidget* w = section(this, kSectionGap, kSectionGap, stack);

    auto* head = new QHBoxLayout;
    m_targetTitle = new Eyebrow(QString(), Theme::muted(), &m_store, w);
    // White bold text on an ink capsule.
    m_percent = new CountBadge(
        QString(), {Theme::font(12, QFont::Bold), Theme::ink(), QColor(), Qt::white, 10, 2, false}, w);
    m_percent->setObjectName(QStringLiteral("targetPercent"));
    head->addWidget(m_targetTitle);
    head->addStretch(1);
    head->addWidget(m_percent);
    stack->addLayout(head);

    auto* amount = new QHBoxLayout;
    m_targetButton = new TargetButton(w);
    m_remaining = label(Theme::font(11, QFont::Medium), Theme::muted(), w, "remainingText");
    // Bottom-aligned with the descent difference below it, the small text shares the amount's baseline.
    const int descentGap =
        QFontMetrics(m_targetButton->font()).descent() - QFontMetrics(m_remaining->font()).descent();
    m_remaining->setContentsMargins(0, 0, 0, std::max(0, descentGap));
    amount->addWidget(m_targetButton, 0, Qt::AlignBottom);
    amount->addStretch(1);
    amount->addWidget(m_remaining, 0, Qt::AlignBottom);
    stack->addLayout(amount);
    connect(m_targetButton, &QAbstractButton::clicked, this, &SummaryPanel::openTargetEditor);

    stack->addStretch(1);
    m_progress = new ProgressTrack(m_store.targetProgress(), 8, w);
    m_progress->setObjectName(QStringLiteral("targetProgress"));
    stack->addWidget(m_progress);
    stack->addStretch(1);

    auto* pacing = new QHBoxLayout;
    m_pacing = label(Theme::font(11), Theme::muted(), w);
    m_contractor = label(Theme::font(11, QFont::DemiBold), Theme::secondary(), w, "contractorText");
    pacing->addWidget(m_pacing);
    pacing->addStretch(1);
    pacing->addWidget(m_contractor);
    stack->addLayout(pacing);

    m_forecast = label(Theme::font(11, QFont::DemiBold), Theme::secondary(), w, "forecastText");
    stack->addWidget(m_forecast);
    return w;
}

QWidget* SummaryPanel::buildPipeline()
{
    QVBoxLayout* stack;
    QWidget* w = section(this, kSectionGap, 0, stack);

    auto* head = new QHBoxLayout;
    m_pipelineTitle = new Eyebrow(QString(), Theme::muted(), &m_store, w);
    m_count = new CountBadge(QString(), w);
    m_count->setObjectName(QStringLiteral("projectCount"));
    head->addWidget(m_pipelineTitle);
    head->addStretch(1);
    head->addWidget(m_count);
    stack->addLayout(head);

    auto* amount = new QVBoxLayout;
    amount->setSpacing(4);
    m_pipeline = new AmountLabel(34, QFont::ExtraBold, -0.8, Theme::ink(), w);
    m_pipeline->setObjectName(QStringLiteral("pipelineAmount"));
    m_stages = label(Theme::font(11, QFont::Medium), Theme::muted(), w);
    amount->addWidget(m_pipeline);
    amount->addWidget(m_stages);
    stack->addLayout(amount);
    stack->addStretch(1);

    auto* rate = new QHBoxLayout;
    m_collectionLabel = label(Theme::font(11), Theme::muted(), w);
    m_collection = label(Theme::font(11, QFont::Bold), Theme::emerald700(), w, "collectionRate");
    rate->addWidget(m_collectionLabel);
    rate->addStretch(1);
    rate->addWidget(m_collection);
    stack->addLayout(rate);

    m_overdue = new OverdueButton(w);
    // Beside the forecast line, a shown or hidden overdue line leaves the panel's height alone.
    QSizePolicy keep = m_overdue->sizePolicy();
    keep.setRetainSizeWhenHidden(true);
    m_overdue->setSizePolicy(keep);
    m_overdue->hide();
    auto* overdue = new QHBoxLayout;
    overdue->addWidget(m_overdue, 1);
    stack->addLayout(overdue);
    connect(m_overdue, &QAbstractButton::clicked, this, &SummaryPanel::openChaseList);
    return w;
}

QString SummaryPanel::collectionRatePercent(double rate, bool turkish)
{
    if (!std::isfinite(rate))
        rate = 0;
    if (turkish) {
        double n = std::round(rate * 100);
        if (n == 0)
            n = 0;
        return QStringLiteral("%") + QString::number(n, 'f', 0);
    }
    double tenths = std::round(rate * 1000) / 10;
    if (tenths == 0)
        tenths = 0;
    const QLocale locale;
    const bool whole = tenths == std::floor(tenths);
    return locale.toString(tenths, 'f', whole ? 0 : 1) + locale.percent();
}

QString SummaryPanel::collectionRateText(double rate, bool turkish)
{
    return collectionRatePercent(rate, turkish) +
           (turkish ? QStringLiteral(" tahsil edildi") : QStringLiteral(" realized"));
}

void SummaryPanel::retranslate()
{
    auto tr = [this](const QString& en, const QString& trText) { return m_store.tr(en, trText); };
    m_taxLabel->setText(tr(QStringLiteral("Est. Tax:"), QStringLiteral("Tahmini Vergi:")));
    m_targetTitle->setText(tr(QStringLiteral("Annual Target"), QStringLiteral("Yıllık Hedef")));
    m_targetButton->setToolTip(
        tr(QStringLiteral("Change the annual target"), QStringLiteral("Yıllık hedefi değiştir")));
    m_pacing->setText(tr(QStringLiteral("Pacing vs. Goal"), QStringLiteral("Hedef İlerlemesi")));
    m_pipelineTitle->setText(tr(QStringLiteral("Total Pipeline"), QStringLiteral("Toplam Hacim")));
    m_stages->setText(
        tr(QStringLiteral("All active stages combined"), QStringLiteral("Tüm aktif aşamaların toplamı")));
    m_collectionLabel->setText(tr(QStringLiteral("Collection rate"), QStringLiteral("Tahsilat oranı")));
    refresh();
}

void SummaryPanel::refresh()
{
    Store& s = m_store;
    const bool turkish = s.language() == AppLanguage::tr;
    const QString year = QString::number(s.activeYear());
    m_earnedTitle->setText(turkish ? year + QStringLiteral(" Yılında Kazanılan")
                                   : QStringLiteral("Earned so far in ") + year);

    const QVector<Project> paid = s.paidThisYear();
    double earned = 0;
    double contractor = 0;
    for (const Project& p : paid) {
        earned += p.fee;
        contractor += p.outsource;
    }
    const QVector<Project> yearList = s.yearProjects();

    m_earned->setText(s.money(earned));
    m_net->setText(QStringLiteral("Net: <b style=\"color:%1\">%2</b>")
                       .arg(colorName(Theme::ink()), s.money(s.netAfterTax()).toHtmlEscaped()));

    const double target = s.data().targetGoal;
    const double progress = s.targetProgress();
    m_percent->setText(s.percent(progress));
    m_targetButton->setText(s.money(target));
    m_targetButton->setAccessibleName(s.money(target));
    const double remaining = target - earned;
    m_remaining->setText(
        remaining > 0 ? s.tr(QStringLiteral("Remaining: "), QStringLiteral("Kalan: ")) + s.money(remaining)
                      : s.tr(QStringLiteral("Target achieved!"), QStringLiteral("Hedefe ulaşıldı!")));
    m_progress->setValue(progress);
    m_contractor->setText(s.tr(QStringLiteral("Contractor: "), QStringLiteral("Dış Kaynak: ")) +
                          s.money(contractor));

    m_count->setText(QString::number(yearList.size()) +
                     (turkish ? QStringLiteral(" Proje") : QStringLiteral(" Projects")));
    m_pipeline->setText(s.money(s.pipelineTotal()));
    m_collection->setText(collectionRateText(s.collectionRate(), turkish));

    const QString forecast = s.forecastText();
    m_forecast->setText(forecast);
    m_forecast->setVisible(!forecast.isEmpty());
    const QString overdue = s.overdueSummary();
    m_overdue->setText(overdue);
    m_overdue->setAccessibleName(overdue);
    m_overdue->setToolTip(overdue.isEmpty() ? QString()
                                            : s.tr(QStringLiteral("Show the overdue projects"),
                                                   QStringLiteral("Gecikmiş projeleri göster")));
    m_overdue->setVisible(!overdue.isEmpty());
    m_overdue->updateGeometry();
}

void SummaryPanel::openChaseList()
{
    if (m_store.overdue().count == 0)
        return;
    if (!m_chase)
        m_chase = new ChasePopover(m_store, this);
    m_chase->openBelow(m_overdue);
}

bool SummaryPanel::editingTarget() const
{
    return m_popover && m_popover->isVisible();
}

void SummaryPanel::openTargetEditor()
{
    if (!m_popover) {
        m_popover = new TargetPopover(m_store, this);
        // The draft lives only while the popover is open.
        connect(m_popover, &TargetPopover::closed, m_popover, &QObject::deleteLater);
    }
    m_popover->open(m_targetButton);
}
