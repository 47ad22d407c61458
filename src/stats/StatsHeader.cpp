#include "stats/StatsHeader.h"

#include "model/Store.h"
#include "ui/PillSegment.h"
#include "ui/TextLabel.h"
#include "ui/Theme.h"
#include "ui/YearMenu.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QVBoxLayout>

StatsHeader::StatsHeader(Store& store, QWidget* parent)
    : QWidget(parent), m_store(store),
      m_title(TextLabel::make(Theme::font(20, QFont::ExtraBold), Theme::ink(), this)),
      m_subtitle(TextLabel::make(Theme::font(12), Theme::muted(), this)),
      m_yearMenu(new YearMenu(store, this)), m_range(new PillSegment(this))
{
    setObjectName(QStringLiteral("statsHeader"));
    m_title->setObjectName(QStringLiteral("statsTitle"));
    m_subtitle->setObjectName(QStringLiteral("statsSubtitle"));
    m_range->setObjectName(QStringLiteral("statsRange"));

    auto* titles = new QVBoxLayout;
    titles->setContentsMargins(0, 0, 0, 0);
    titles->setSpacing(2);
    titles->addWidget(m_title);
    titles->addWidget(m_subtitle);

    auto* row = new QHBoxLayout(this);
    // 16 pixels under the content, then the 1-pixel line.
    row->setContentsMargins(0, 0, 0, 17);
    row->setSpacing(12);
    row->addLayout(titles, 1);
    row->addWidget(m_yearMenu, 0, Qt::AlignVCenter);
    row->addWidget(m_range, 0, Qt::AlignVCenter);

    connect(m_range, &PillSegment::selectionChanged, this,
            [this](const QVariant& value) { m_store.ui().setStatsAllTime(value.toBool()); });
    connect(&store, &Store::languageChanged, this, &StatsHeader::retranslate);
    connect(&store.ui(), &UiState::statsAllTimeChanged, this, &StatsHeader::syncRange);
    retranslate();
}

QString StatsHeader::title() const
{
    return m_title->text();
}

QString StatsHeader::subtitle() const
{
    return m_subtitle->text();
}

void StatsHeader::retranslate()
{
    m_title->setText(m_store.tr(QStringLiteral("Financial Performance & Analytics"),
                                QStringLiteral("Finansal Performans")));
    m_subtitle->setText(
        m_store.tr(QStringLiteral("Realized revenues, peak production months, and high-value accounts"),
                   QStringLiteral("Gerçekleşen gelirler, en verimli aylar ve yüksek bütçeli müşteriler")));
    m_range->setOptions(
        {{false, m_store.tr(QStringLiteral("Selected Year"), QStringLiteral("Seçilen Yıl")), QString()},
         {true, m_store.tr(QStringLiteral("All Time"), QStringLiteral("Tüm Zamanlar")), QString()}});
    syncRange();
}

void StatsHeader::syncRange()
{
    m_range->setSelection(m_store.ui().statsAllTime());
}

void StatsHeader::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(QRect(0, height() - 1, width(), 1), Theme::border());
}
