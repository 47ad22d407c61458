#include "settings/DirectoryRowEditor.h"

#include "i18n/L10n.h"
#include "settings/FieldFrame.h"
#include "ui/GlyphButton.h"
#include "ui/Theme.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>

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

void DirectoryRowEditor::setLanguage(AppLanguage language)
{
    const QString save = L10n::tr(language, QStringLiteral("Save"), QStringLiteral("Kaydet"));
    const QString cancel = L10n::tr(language, QStringLiteral("Cancel"), QStringLiteral("İptal"));
    m_commit->setToolTip(save);
    m_commit->setAccessibleName(save);
    m_cancel->setToolTip(cancel);
    m_cancel->setAccessibleName(cancel);
    m_field->setAccessibleName(L10n::tr(language, QStringLiteral("Name"), QStringLiteral("Ad")));
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
