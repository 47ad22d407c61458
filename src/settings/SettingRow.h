#pragma once

#include <QWidget>

class QHBoxLayout;

// One row of a preference card: its content side by side on a cream rounded plate.
class SettingRow final : public QWidget
{
    Q_OBJECT

public:
    explicit SettingRow(QWidget* parent = nullptr);

    // Add the row's content here, in order; flexible space is addStretch().
    QHBoxLayout* content() const { return m_content; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QHBoxLayout* m_content;
};
