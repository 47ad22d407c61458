#pragma once

#include <QPointer>
#include <QWidget>

class Eyebrow;
class Store;

// One key figure: a small upper-case title with an icon, the value, and a detail line,
// on a pale emerald card.
class KPICard final : public QWidget
{
    Q_OBJECT

public:
    KPICard(Store* store, const QString& icon, QWidget* parent = nullptr);

    void setTexts(const QString& title, const QString& value, const QString& detail);
    QString title() const { return m_title; }
    QString icon() const { return m_icon; }
    QString value() const { return m_value; }
    QString detail() const { return m_detail; }
    // The value as drawn: one line, cut short at the end when it does not fit.
    QString shownValue() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QRect iconRect() const;
    QRect valueRect() const;
    QRect detailRect() const;
    void placeTitle();

    QString m_title;
    QString m_icon;
    QString m_value;
    QString m_detail;
    Eyebrow* m_eyebrow;
};
