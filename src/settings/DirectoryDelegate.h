#pragma once

#include <QStyledItemDelegate>

// Paints the rows of a directory list: the name, a client's payment terms ("30 d"), and the edit
// and remove symbols on a cream plate. The row in edit mode gets a DirectoryRowEditor, the only
// widget in the list.
class DirectoryDelegate final : public QStyledItemDelegate
{
    Q_OBJECT

public:
    static constexpr int kRowHeight = 36;
    static constexpr int kRowGap = 8;
    static constexpr int kTrailingPad = 4;
    static constexpr int kButtonSide = 24;
    static constexpr int kTermsWidth = 52;

    explicit DirectoryDelegate(QObject* parent = nullptr);

    // Geometry of a row inside the item rectangle the view gives it.
    static QRect plateRect(const QRect& item);
    static QRect editButtonRect(const QRect& item);
    static QRect removeButtonRect(const QRect& item);
    // Where a client's terms are drawn, before the edit symbol.
    static QRect termsRect(const QRect& item);
    static QRect editorRect(const QRect& item);

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;
    // The draft belongs to the card: the model never writes into the editor, nor the editor
    // into the model.
    void setEditorData(QWidget*, const QModelIndex&) const override {}
    void setModelData(QWidget*, QAbstractItemModel*, const QModelIndex&) const override {}
    void updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option,
                              const QModelIndex& index) const override;

protected:
    // The editor handles Return and Escape itself; focus changes never end an edit.
    bool eventFilter(QObject*, QEvent*) override { return false; }
};
