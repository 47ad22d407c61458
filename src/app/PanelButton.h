#pragma once

#include <QAbstractButton>

// A plain row button of the tray panel: symbol and title, a cream highlight while hovered.
class PanelButton final : public QAbstractButton
{
    Q_OBJECT

public:
    PanelButton(const QString& title, const QString& symbol, QWidget* parent = nullptr);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString m_symbol;
};
