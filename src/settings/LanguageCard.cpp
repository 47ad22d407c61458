#include "settings/LanguageCard.h"

#include "model/Store.h"
#include "settings/IconBadge.h"
#include "settings/SettingsLabel.h"
#include "ui/PillOption.h"
#include "ui/PillSegment.h"
#include "ui/Theme.h"

#include <QHBoxLayout>
#include <QLabel>

LanguageCard::LanguageCard(Store& store, QWidget* parent) : PanelFrame(24, 24, parent), m_store(store)
{
    setObjectName(QStringLiteral("languageCard"));
    auto* row = new QHBoxLayout;
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(12);
    m_title = SettingsLabel::make(QString(), 13, QFont::Bold, Theme::ink(), this);
    m_picker = new PillSegment(this);
    m_picker->setObjectName(QStringLiteral("languagePicker"));
    m_picker->setCompact(true);
    QVector<PillSegment::Option> options;
    for (AppLanguage language : AppLanguageInfo::allCases)
        options.append({int(language), AppLanguageInfo::label(language), QString()});
    m_picker->setOptions(options);
    // Every click counts, also on the language already chosen: it confirms itself again.
    for (int i = 0; i < options.size(); ++i) {
        const auto language = AppLanguage(options[i].value.toInt());
        connect(m_picker->optionButton(i), &QAbstractButton::clicked, this,
                [this, language] { choose(language); });
    }
    row->addWidget(new IconBadge(QStringLiteral("globe"), this), 0, Qt::AlignVCenter);
    row->addWidget(m_title, 0, Qt::AlignVCenter);
    row->addStretch(1);
    row->addWidget(m_picker, 0, Qt::AlignVCenter);
    body()->addLayout(row);

    connect(&m_store, &Store::languageChanged, this, &LanguageCard::refresh);
    refresh();
}

void LanguageCard::choose(AppLanguage language)
{
    m_store.chooseLanguage(language);
}

void LanguageCard::refresh()
{
    m_title->setText(m_store.tr(QStringLiteral("App Language"), QStringLiteral("Uygulama Dili")));
    m_picker->setSelection(int(m_store.language()));
    m_picker->setAccessibleName(m_title->text());
}
