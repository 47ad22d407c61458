#include "settings/DirectoryRowEditor.h"

#include "i18n/L10n.h"
#include "model/AppData.h"
#include "model/Payments.h"
#include "settings/DirectoryText.h"
#include "settings/FieldFrame.h"
#include "settings/UnitField.h"
#include "ui/GlyphButton.h"
#include "ui/InvalidOutline.h"
#include "ui/Theme.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <cmath>

DirectoryRowEditor::DirectoryRowEditor(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("directoryRowEditor"));
    setAutoFillBackground(false);
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(8);

    m_frame = new FieldFrame(
        {8, Qt::white, Theme::brand(), QMargins(10, 4, 10, 4), Theme::font(12, QFont::DemiBold)}, this);
    m_field = m_frame->lineEdit();
    m_field->setObjectName(QStringLiteral("directoryEditField"));
    connect(m_field, &QLineEdit::returnPressed, this, &DirectoryRowEditor::commitRequested);

    // Pressed, the symbol dims on its faint circle.
    const auto look = [](const QString& symbol, const QColor& tint, int size, const QColor& fill) {
        GlyphButton::Look l{symbol, tint, size, QFont::Bold, 22, fill};
        l.pressedCircle = fill;
        l.pressedSymbolOpacity = 0.6;
        return l;
    };
    QColor commitFill = Theme::brand();
    commitFill.setAlphaF(0.12f);
    m_commit = new GlyphButton(look(QStringLiteral("checkmark"), Theme::brand(), 10, commitFill), this);
    m_commit->setObjectName(QStringLiteral("directoryCommit"));
    connect(m_commit, &QAbstractButton::clicked, this, &DirectoryRowEditor::commitRequested);

    QColor cancelFill(Qt::black);
    cancelFill.setAlphaF(0.05f);
    m_cancel = new GlyphButton(look(QStringLiteral("xmark"), Theme::muted(), 9, cancelFill), this);
    m_cancel->setObjectName(QStringLiteral("directoryCancel"));
    connect(m_cancel, &QAbstractButton::clicked, this, &DirectoryRowEditor::cancelRequested);

    row->addWidget(m_frame, 1, Qt::AlignVCenter);
    row->addWidget(m_commit, 0, Qt::AlignVCenter);
    row->addWidget(m_cancel, 0, Qt::AlignVCenter);
    setFocusProxy(m_field);
    setLanguage(AppLanguage::en);
}

QLineEdit* DirectoryRowEditor::termsField() const
{
    return m_terms ? m_terms->lineEdit() : nullptr;
}

void DirectoryRowEditor::showTerms(int days)
{
    if (!m_terms) {
        m_terms = new UnitField(4, this);
        m_terms->lineEdit()->setObjectName(QStringLiteral("directoryTermsField"));
        connect(m_terms->lineEdit(), &QLineEdit::returnPressed, this, [this] {
            if (m_commit->isEnabled())
                emit commitRequested();
        });
        connect(m_terms->lineEdit(), &QLineEdit::textChanged, this, &DirectoryRowEditor::termsEdited);
        auto* row = static_cast<QHBoxLayout*>(layout());
        row->insertWidget(1, m_terms, 0, Qt::AlignVCenter);
        // The editor is on screen already: without this the field would show only later.
        m_terms->show();
        // Tab goes from the name to the days, then on to Save and Cancel.
        setTabOrder(m_field, m_terms->lineEdit());
        setTabOrder(m_terms->lineEdit(), m_commit);
    }
    m_terms->lineEdit()->setText(QString::number(days));
    setLanguage(m_language);
}

std::optional<int> DirectoryRowEditor::terms() const
{
    if (!m_terms)
        return std::nullopt;
    const std::optional<double> typed = L10n::parseNumber(m_terms->lineEdit()->text());
    if (!typed || *typed != std::floor(*typed) || *typed < 0 || *typed > AppData::kMaxTermsDays)
        return std::nullopt;
    return int(*typed);
}

void DirectoryRowEditor::termsEdited()
{
    const std::optional<int> days = terms();
    // The outline goes round the whole plate; the field itself tells a screen reader why.
    setInvalid(m_terms, !days);
    m_terms->lineEdit()->setAccessibleDescription(m_terms->accessibleDescription());
    m_commit->setEnabled(bool(days));
    m_terms->setToolTip(
        days ? Payments::termsText(*days, m_language)
             : L10n::tr(m_language,
                        QStringLiteral("Enter whole days from 0 to %1.").arg(AppData::kMaxTermsDays),
                        QStringLiteral("0 ile %1 arasında tam gün girin.").arg(AppData::kMaxTermsDays)));
}

void DirectoryRowEditor::setLanguage(AppLanguage language)
{
    m_language = language;
    const QString save = L10n::tr(language, QStringLiteral("Save"), QStringLiteral("Kaydet"));
    const QString cancel = L10n::tr(language, QStringLiteral("Cancel"), QStringLiteral("İptal"));
    m_commit->setToolTip(save);
    m_commit->setAccessibleName(save);
    m_cancel->setToolTip(cancel);
    m_cancel->setAccessibleName(cancel);
    m_field->setAccessibleName(L10n::tr(language, QStringLiteral("Name"), QStringLiteral("Ad")));
    if (m_terms) {
        m_terms->setUnit(DirectoryText::daysUnit(language));
        m_terms->lineEdit()->setAccessibleName(L10n::tr(language, QStringLiteral("Payment terms in days"),
                                                        QStringLiteral("Gün olarak ödeme vadesi")));
        termsEdited();
    }
}

void DirectoryRowEditor::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Escape:
        event->accept();
        emit cancelRequested();
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        // The field has committed already; the list around must not take the key as its own.
        event->accept();
        return;
    default:
        QWidget::keyPressEvent(event);
    }
}
