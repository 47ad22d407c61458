#pragma once

#include <QWidget>

class GlyphButton;
class QLabel;
class QListWidget;
class QPushButton;
class Store;

// The chase list: the active year's overdue projects, most days overdue first, each with its
// client, amount, days overdue and the client's terms. A row opens the editor; "Copy as Text"
// puts the list on the clipboard for an e-mail. It follows the document while open.
class ChasePopover final : public QWidget
{
    Q_OBJECT

public:
    static constexpr int kWidth = 400;

    explicit ChasePopover(Store& store, QWidget* parent = nullptr);

    // Shows the popover below `anchor` (above it when the screen ends first), kept on its screen.
    void openBelow(QWidget* anchor);

    QListWidget* list() const { return m_list; }
    QPushButton* copyButton() const { return m_copy; }
    GlyphButton* closeButton() const { return m_close; }
    QLabel* summary() const { return m_summary; }
    // Opens the editor on the project of a row, and closes.
    void openRow(int row);
    void copyAsText();

signals:
    // However it was closed.
    void closed();

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void refresh();
    void retranslate();

    Store& m_store;
    QLabel* m_title;
    GlyphButton* m_close;
    QLabel* m_summary;
    QListWidget* m_list;
    QPushButton* m_copy;
    bool m_opened = false;
};
