#pragma once

#include <QPushButton>

class QMenu;
class Store;

// The active-year capsule button with a pop-up menu of the store's years.
class YearMenu final : public QPushButton
{
    Q_OBJECT

public:
    explicit YearMenu(Store& store, QWidget* parent = nullptr);

    // The menu as it is shown (rebuilt from the store's years each time it opens).
    QMenu* popupMenu() const { return m_menu; }
    // Fills the menu from the store; called before it opens.
    void rebuildMenu();

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void refresh();

    Store& m_store;
    QMenu* m_menu;
};
