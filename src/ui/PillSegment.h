#pragma once

#include <QAccessible>
#include <QVariant>
#include <QVector>
#include <QWidget>

class PillOption;
class SpringAnimation;

// A segmented selector: options side by side in a cream trough, the selected one on a dark capsule
// that slides between options.
class PillSegment final : public QWidget
{
    Q_OBJECT

public:
    struct Option
    {
        QVariant value;
        QString label;
        QString icon;
    };

    explicit PillSegment(QWidget* parent = nullptr);

    void setOptions(const QVector<Option>& options);
    const QVector<Option>& options() const { return m_options; }
    void setCompact(bool compact);
    bool compact() const { return m_compact; }
    // Radio buttons by default; page tabs where the options switch the window's pages.
    void setOptionRole(QAccessible::Role role);
    // Programmatic: no signal. A value that is not among the options leaves no capsule.
    void setSelection(const QVariant& value);
    QVariant selection() const { return m_selection; }
    // Index of the selected option, -1 when the selection is not among the options.
    int selectedIndex() const;
    // The button of option i (tests, accessibility), nullptr when out of range.
    PillOption* optionButton(int index) const;

    // Geometry of option i inside the widget (its clickable capsule area).
    QRectF optionRect(int index) const;
    // Where the dark capsule is drawn now; empty when there is none.
    QRectF capsuleRect() const;
    bool isSliding() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

signals:
    // Only when the user picks a different option.
    void selectionChanged(const QVariant& value);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    int padding() const { return m_compact ? 2 : 4; }
    int indexOf(const QVariant& value) const;
    void choose(int index);
    void layoutOptions();
    void syncSelected();

    QVector<Option> m_options;
    QVector<PillOption*> m_buttons;
    QVariant m_selection;
    bool m_compact = false;
    QAccessible::Role m_optionRole = QAccessible::RadioButton;
    QSize m_hint; // trough size, kept by layoutOptions()
    int m_slideFrom = -1;
    qreal m_progress = 1;
    SpringAnimation* m_spring;
};
