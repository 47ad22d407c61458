#pragma once

#include <QWidget>

// A small cream pill with a count or a short text.
class CountBadge final : public QWidget
{
    Q_OBJECT

public:
    explicit CountBadge(const QString& text, QWidget* parent = nullptr);

    void setText(const QString& text);
    QString text() const { return m_text; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString m_text;
};
