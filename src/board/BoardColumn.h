#pragma once

#include "model/Status.h"

#include <QPointer>
#include <QWidget>

class CardList;
class ColumnHeader;
class ColumnModel;
class Store;

// One status column of the board: its header, its cards, and a drop target for dragged text
// (cards and column handles) that hands every dropped text to Store::handleDrop.
class BoardColumn final : public QWidget
{
    Q_OBJECT

public:
    static constexpr int kRadius = 24;
    static constexpr int kPadding = 20;
    static constexpr int kMinimumHeight = 500;

    BoardColumn(Store& store, Status status, QWidget* parent = nullptr);

    Status status() const { return m_status; }
    bool targeted() const { return m_targeted; }
    bool isDark() const { return m_dark; }
    QColor color() const { return m_color; }
    ColumnModel* model() const { return m_model; }
    ColumnHeader* header() const { return m_header; }
    CardList* cards() const { return m_cards; }

    // The dropped text as the list of its items (one per line).
    static QStringList droppedTexts(const QString& text);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dragLeaveEvent(QDragLeaveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void setTargeted(bool targeted);
    void refreshColor();

    Store& m_store;
    Status m_status;
    ColumnModel* m_model;
    ColumnHeader* m_header;
    CardList* m_cards;
    QColor m_color;
    bool m_dark = false;
    bool m_targeted = false;
};
