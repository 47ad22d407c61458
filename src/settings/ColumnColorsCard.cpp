#include "settings/ColumnColorsCard.h"

#include "model/Store.h"
#include "settings/ColorWell.h"
#include "settings/SettingRow.h"
#include "settings/SettingsLabel.h"
#include "settings/TextLinkButton.h"
#include "ui/ColorDot.h"
#include "ui/Theme.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

ColumnColorsCard::ColumnColorsCard(Store& store, QWidget* parent) : PanelFrame(24, 24, parent), m_store(store)
{
    setObjectName(QStringLiteral("columnColorsCard"));
    body()->setSpacing(12);

    auto* header = new QHBoxLayout;
    header->setContentsMargins(0, 0, 0, 0);
    m_title = SettingsLabel::make(QString(), 15, QFont::Bold, Theme::ink(), this);
    m_reset = new TextLinkButton(QString(), this);
    m_reset->setObjectName(QStringLiteral("resetColors"));
    connect(m_reset, &QAbstractButton::clicked, &m_store, &Store::resetColumnColors);
    header->addWidget(m_title, 0, Qt::AlignVCenter);
    header->addStretch(1);
    header->addWidget(m_reset, 0, Qt::AlignVCenter);
    body()->addLayout(header);

    // Always paid, pending, ongoing: the board's column order does not apply here.
    for (Status status : StatusInfo::all) {
        auto* row = new SettingRow(this);
        auto* label = SettingsLabel::make(QString(), 12, QFont::DemiBold, Theme::ink(), row);
        auto* well = new ColorWell(row);
        well->setObjectName(QStringLiteral("colorWell_") + StatusInfo::rawValue(status));
        connect(well, &ColorWell::colorPicked, &m_store,
                [this, status](const QColor& color) { m_store.setColumnColor(status, Theme::toRgb(color)); });
        row->content()->addWidget(new ColorDot(markerColor(status), 14, row), 0, Qt::AlignVCenter);
        row->content()->addWidget(label, 0, Qt::AlignVCenter);
        row->content()->addStretch(1);
        row->content()->addWidget(well, 0, Qt::AlignVCenter);
        body()->addWidget(row);
        m_wells.insert(status, well);
        m_labels.insert(status, label);
    }

    connect(&m_store, &Store::dataChanged, this, &ColumnColorsCard::refreshColors);
    connect(&m_store, &Store::languageChanged, this, &ColumnColorsCard::retranslate);
    retranslate();
    refreshColors();
}

QColor ColumnColorsCard::markerColor(Status status)
{
    return Theme::statusDot(status);
}

void ColumnColorsCard::refreshColors()
{
    for (Status status : StatusInfo::all)
        m_wells.value(status)->setColor(Theme::fromRgb(m_store.columnColor(status)));
}

void ColumnColorsCard::retranslate()
{
    m_title->setText(m_store.tr(QStringLiteral("Column Colors"), QStringLiteral("Sütun Renkleri")));
    m_reset->setText(m_store.tr(QStringLiteral("Reset"), QStringLiteral("Sıfırla")));
    m_reset->updateGeometry();
    for (Status status : StatusInfo::all) {
        const QString name = m_store.tr(StatusInfo::titleEn(status), StatusInfo::titleTr(status));
        m_labels.value(status)->setText(
            m_store.tr(name + QStringLiteral(" Column Color"), name + QStringLiteral(" Sütun Rengi")));
        m_wells.value(status)->setAccessibleName(name);
    }
}
