#pragma once

#include <QColor>
#include <QWidget>

// A tinted symbol centred in a fixed frame, drawn at the screen's resolution when painted.
class SymbolView final : public QWidget
{
    Q_OBJECT

public:
    SymbolView(const QString& symbol, const QColor& tint, int symbolSize, QSize frame,
               QWidget* parent = nullptr);

    QString symbol() const { return m_symbol; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString m_symbol;
    QColor m_tint;
    int m_size;
};
