#pragma once

#include "model/StoreTypes.h"

#include <QWidget>

class FieldFrame;
class QLineEdit;
class GlyphButton;

// The row of a directory list in edit mode: the name in a field, commit and cancel.
// Return commits, Escape cancels.
class DirectoryRowEditor final : public QWidget
{
    Q_OBJECT

public:
    explicit DirectoryRowEditor(QWidget* parent = nullptr);

    QLineEdit* field() const { return m_field; }
    GlyphButton* commitButton() const { return m_commit; }
    GlyphButton* cancelButton() const { return m_cancel; }
    void setLanguage(AppLanguage language);

signals:
    void commitRequested();
    void cancelRequested();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    FieldFrame* m_frame;
    QLineEdit* m_field;
    GlyphButton* m_commit;
    GlyphButton* m_cancel;
};
