#pragma once

#include <QAbstractButton>
#include <QWidget>

// Small painted pieces of the summary panel.

// The 1-pixel divider between the panel's sections, as tall as the row.
class SummarySeparator final : public QWidget
{
    Q_OBJECT

public:
    explicit SummarySeparator(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};

// "Overdue: $4,300 in 2 projects" in rose with the clock symbol, as a plain button that opens the
// chase list.
class OverdueButton final : public QAbstractButton
{
    Q_OBJECT

public:
    explicit OverdueButton(QWidget* parent = nullptr);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
};

// The target amount with a pencil, as a plain button that opens the target popover.
class TargetButton final : public QAbstractButton
{
    Q_OBJECT

public:
    explicit TargetButton(QWidget* parent = nullptr);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent* event) override;
};
