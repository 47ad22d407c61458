#pragma once

#include <QWidget>
#include <optional>

class Eyebrow;
class QLineEdit;
class QPushButton;
class Store;

// The popover that edits the annual target below its button: an amount field checked with
// Amount::parse (rose outline and Save disabled while it gives no amount), Cancel on Escape,
// Save on Return. Closing it any other way changes nothing.
class TargetPopover final : public QWidget
{
    Q_OBJECT

public:
    static constexpr int kWidth = 240;
    static constexpr int kArrow = 8;

    explicit TargetPopover(Store& store, QWidget* parent = nullptr);

    // Fills the draft from the stored target (whole lira in Turkish, as the target button shows
    // it) and shows the popover below `anchor`.
    void open(QWidget* anchor);
    // The stored target as the draft text: locale digits, no grouping.
    static QString draftText(double target);

    QLineEdit* field() const { return m_field; }
    QPushButton* saveButton() const { return m_save; }
    QPushButton* cancelButton() const { return m_cancel; }
    bool draftValid() const;
    // Stores the draft when it is an amount and closes; otherwise stays open.
    void saveTarget();

signals:
    void closed();

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void validate();
    void retranslate();
    // Lira per stored dollar in Turkish, where the target is shown and typed in lira; else 1.
    double rate() const;

    Store& m_store;
    Eyebrow* m_title;
    QLineEdit* m_field;
    QPushButton* m_cancel;
    QPushButton* m_save;
    // The draft as filled, and the target it stands for.
    QString m_filledText;
    std::optional<double> m_filledTarget;
};
