#pragma once

#include <QWidget>

class Store;

// One key figure: a small upper-case title with an icon, the value, and a detail line,
// on a pale emerald card.
class KPICard final : public QWidget
{
    Q_OBJECT

public:
    KPICard(Store& store, const QString& icon, QWidget* parent = nullptr);

    void setTexts(const QString& title, const QString& value, const QString& detail);
    QString title() const { return m_title; }
    QString icon() const { return m_icon; }
    QString value() const { return m_value; }
    QString detail() const { return m_detail; }
    // The texts as drawn: one line each, cut short at the end when they do not fit; the
    // title upper-cased like a section label.
    QString shownTitle() const;
    QString shownValue() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QRect titleRect() const;
    QRect iconRect() const;
    QRect valueRect() const;
    QRect detailRect() const;

    QString m_title;
    QString m_icon;
    QString m_value;
    QString m_detail;
    Store& m_store;
};
