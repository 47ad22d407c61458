#pragma once

#include <QWidget>

// A symbol centred in a small cream circle, in front of a card's title.
class IconBadge final : public QWidget
{
    Q_OBJECT

public:
    explicit IconBadge(const QString& symbol, QWidget* parent = nullptr);

    QString symbol() const { return m_symbol; }
    QSize sizeHint() const override { return {32, 32}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString m_symbol;
};
