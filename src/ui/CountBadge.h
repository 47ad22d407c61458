#pragma once

#include <QColor>
#include <QFont>
#include <QWidget>

// A small pill with a count or a short text: cream by default, or in a look of its own.
class CountBadge final : public QWidget
{
    Q_OBJECT

public:
    struct Look
    {
        QFont font;
        QColor fill;
        QColor stroke; // invalid for none
        QColor text;
        int padX = 10;
        int padY = 3;
        bool atLeastRound = true; // never narrower than tall, so one digit still sits in a pill
    };
    static Look cream();

    explicit CountBadge(const QString& text, QWidget* parent = nullptr);
    CountBadge(const QString& text, const Look& look, QWidget* parent = nullptr);

    void setText(const QString& text);
    QString text() const { return m_text; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString m_text;
    Look m_look;
};
