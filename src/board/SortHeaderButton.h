#pragma once

#include "model/StoreTypes.h"

#include <QAbstractButton>

// One sortable column title of the project table: the upper-cased title and a chevron showing
// whether the table is sorted by this column, and which way.
class SortHeaderButton final : public QAbstractButton
{
    Q_OBJECT

public:
    enum class Mark : quint8 { unsorted, ascending, descending };

    // `title` as written in the interface (the button shows it upper-cased).
    SortHeaderButton(const QString& title, SortField field, AppLanguage language, QWidget* parent = nullptr);

    SortField field() const { return m_field; }
    QString title() const { return m_title; }
    // The text shown: the title upper-cased with the language's casing rules.
    QString shownTitle() const { return m_shown; }
    Mark mark() const { return m_mark; }
    void setMark(Mark mark);
    // The accessible value: "Sorted ascending", "Sorted descending" or nothing.
    QString sortedText() const;
    // The symbol name of the chevron now shown.
    QString chevron() const;
    QColor chevronColor() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString m_title;
    QString m_shown;
    SortField m_field;
    Mark m_mark = Mark::unsorted;
};
