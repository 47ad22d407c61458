#pragma once

#include "editor/FieldPlate.h"

#include <QStringList>

class GlyphButton;
class QLineEdit;
class QMenu;

// A text field with a drop-down of known values: any text may be typed, and picking an entry
// from the menu replaces the text. The drop-down is disabled while there are no entries.
class ComboField final : public FieldPlate
{
    Q_OBJECT

public:
    explicit ComboField(const QString& placeholder, QWidget* parent = nullptr);

    QString text() const;
    void setText(const QString& text);
    QStringList options() const { return m_options; }
    void setOptions(const QStringList& options);

    QLineEdit* lineEdit() const { return m_edit; }
    GlyphButton* dropDown() const { return m_dropDown; }
    // The drop-down menu, filled from the options each time it opens.
    QMenu* menu() const { return m_menu; }
    void rebuildMenu();
    void openMenu();

signals:
    void textChanged(const QString& text);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QStringList m_options;
    QLineEdit* m_edit;
    GlyphButton* m_dropDown;
    QMenu* m_menu;
};
