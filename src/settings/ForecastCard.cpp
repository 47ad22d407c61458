#include "settings/ForecastCard.h"

#include "i18n/L10n.h"
#include "model/Store.h"
#include "settings/SettingRow.h"
#include "settings/SettingsLabel.h"
#include "settings/UnitField.h"
#include "ui/Theme.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QVBoxLayout>

ForecastCard::ForecastCard(Store& store, QWidget* parent) : PanelFrame(24, 24, parent), m_store(store)
{
    setObjectName(QStringLiteral("forecastCard"));
    body()->setSpacing(12);
    m_title = SettingsLabel::make(QString(), 15, QFont::Bold, Theme::ink(), this);
    m_hint = SettingsLabel::make(QString(), 12, QFont::Normal, Theme::muted(), this);
    m_hint->setWordWrap(true);
    body()->addWidget(m_title);
    body()->addWidget(m_hint);

    auto addRow = [this](QLabel*& label, UnitField*& field, const QString& name) {
        auto* row = new SettingRow(this);
        label = SettingsLabel::make(QString(), 12, QFont::DemiBold, Theme::ink(), row);
        label->setWordWrap(true);
        field = new UnitField(5, row);
        field->lineEdit()->setObjectName(name);
        field->setUnit(QStringLiteral("%"));
        label->setBuddy(field->lineEdit());
        QLineEdit* edit = field->lineEdit();
        connect(edit, &QLineEdit::editingFinished, this, [this, edit] { commit(edit); });
        row->content()->addWidget(label, 1, Qt::AlignVCenter);
        row->content()->addWidget(field, 0, Qt::AlignVCenter);
        body()->addWidget(row);
    };
    addRow(m_pendingLabel, m_pending, QStringLiteral("forecastPendingField"));
    addRow(m_ongoingLabel, m_ongoing, QStringLiteral("forecastOngoingField"));

    connect(&m_store, &Store::dataChanged, this, &ForecastCard::refresh);
    connect(&m_store, &Store::languageChanged, this, &ForecastCard::retranslate);
    retranslate();
    refresh();
}

// A focused field loses its focus while the card's children are destroyed: its editingFinished
// must not reach a card that is half gone.
ForecastCard::~ForecastCard()
{
    for (QLineEdit* edit : {pendingField(), ongoingField()})
        edit->disconnect(this);
}

QLineEdit* ForecastCard::pendingField() const
{
    return m_pending->lineEdit();
}

QLineEdit* ForecastCard::ongoingField() const
{
    return m_ongoing->lineEdit();
}

void ForecastCard::commit(QLineEdit* field)
{
    const bool pending = field == pendingField();
    const double stored = pending ? m_store.forecastPendingPercent() : m_store.forecastOngoingPercent();
    const std::optional<double> typed = L10n::parseNumber(field->text());
    if (!typed) {
        if (field->text().trimmed() != QLocale().toString(stored))
            m_store.ui().show(m_store.tr(QStringLiteral("Enter a percentage from 0 to 100."),
                                         QStringLiteral("0 ile 100 arasında bir yüzde girin.")));
    } else if (pending) {
        m_store.setForecastWeights(*typed, m_store.forecastOngoingPercent());
    } else {
        m_store.setForecastWeights(m_store.forecastPendingPercent(), *typed);
    }
    // What is stored now: the clamped weight, or the old one after text that is no number.
    field->setText(
        QLocale().toString(pending ? m_store.forecastPendingPercent() : m_store.forecastOngoingPercent()));
}

void ForecastCard::refresh()
{
    const std::pair<QLineEdit*, double> fields[] = {{pendingField(), m_store.forecastPendingPercent()},
                                                    {ongoingField(), m_store.forecastOngoingPercent()}};
    for (const auto& [field, weight] : fields) {
        // The user's typing is left alone until it is committed.
        if (field->hasFocus() && field->isModified())
            continue;
        const QString text = QLocale().toString(weight);
        if (field->text() != text)
            field->setText(text);
    }
}

void ForecastCard::retranslate()
{
    m_title->setText(m_store.tr(QStringLiteral("Year-End Forecast"), QStringLiteral("Yıl Sonu Tahmini")));
    m_hint->setText(m_store.tr(
        QStringLiteral("The forecast counts every paid fee and these shares of the fees still open."),
        QStringLiteral("Tahmin, ödenen her bedeli ve açık bedellerin bu paylarını sayar.")));
    m_pendingLabel->setText(m_store.tr(QStringLiteral("Forecast weight of Pending"),
                                       QStringLiteral("Ödenecek için tahmin ağırlığı")));
    m_ongoingLabel->setText(m_store.tr(QStringLiteral("Forecast weight of In the Works"),
                                       QStringLiteral("Devam Ediyor için tahmin ağırlığı")));
    pendingField()->setAccessibleName(m_pendingLabel->text() + QStringLiteral(" (%)"));
    ongoingField()->setAccessibleName(m_ongoingLabel->text() + QStringLiteral(" (%)"));
}
