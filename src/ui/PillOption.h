#pragma once

#include <QAbstractButton>
#include <QAccessible>

// One option of a PillSegment: a plain button showing an optional symbol and a label; the segment
// draws the trough and the dark capsule behind it.
class PillOption final : public QAbstractButton
{
    Q_OBJECT

public:
    PillOption(const QString& label, const QString& symbol, QWidget* parent = nullptr);

    void setSelected(bool selected);
    bool isSelected() const { return m_selected; }
    void setCompact(bool compact);
    QString symbol() const { return m_symbol; }
    // What a screen reader calls it: a radio button, or a page tab for the window's pages.
    void setAccessibleRole(QAccessible::Role role) { m_role = role; }
    QAccessible::Role accessibleRole() const { return m_role; }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    // Selection belongs to the segment: a click never toggles the button by itself.
    void nextCheckState() override {}

private:
    QString m_symbol;
    bool m_selected = false;
    bool m_compact = false;
    QAccessible::Role m_role = QAccessible::RadioButton;
};
