#pragma once

#include "model/StoreTypes.h"

#include <QWidget>
#include <optional>

class FieldFrame;
class QLineEdit;
class GlyphButton;
class UnitField;

// The row of a directory list in edit mode: the name in a field, a client's payment terms in
// days, commit and cancel. Return commits, Escape cancels.
class DirectoryRowEditor final : public QWidget
{
    Q_OBJECT

public:
    explicit DirectoryRowEditor(QWidget* parent = nullptr);

    QLineEdit* field() const { return m_field; }
    // The terms field, nullptr unless shown.
    QLineEdit* termsField() const;
    // Adds the terms field (a client's row); the tooltip explains `days` as terms.
    void showTerms(int days);
    // The days typed, when they are a whole number from 0 to AppData::kMaxTermsDays; the field is
    // marked invalid and Save disabled otherwise.
    std::optional<int> terms() const;
    GlyphButton* commitButton() const { return m_commit; }
    GlyphButton* cancelButton() const { return m_cancel; }
    void setLanguage(AppLanguage language);

signals:
    void commitRequested();
    void cancelRequested();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void termsEdited();

    AppLanguage m_language = AppLanguage::en;
    UnitField* m_terms = nullptr;
    FieldFrame* m_frame;
    QLineEdit* m_field;
    GlyphButton* m_commit;
    GlyphButton* m_cancel;
};
