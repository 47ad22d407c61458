#include "settings/DirectoryDelegate.h"

#include "model/Text.h"
#include "settings/DirectoryList.h"
#include "settings/DirectoryModel.h"
#include "settings/DirectoryRowEditor.h"
#include "settings/DirectoryText.h"
#include "ui/Icons.h"
#include "ui/KeyboardFocus.h"
#include "ui/Painters.h"
#include "ui/Theme.h"

#include <QPainter>

namespace {
constexpr int kLeadingPad = 14;
constexpr int kTrailingInset = 8;
constexpr int kVerticalPad = 6;
constexpr int kSpacing = 8;
constexpr int kSymbolSize = 10;
} // namespace

DirectoryDelegate::DirectoryDelegate(QObject* parent) : QStyledItemDelegate(parent) {}

QRect DirectoryDelegate::plateRect(const QRect& item)
{
    return QRect(item.left(), item.top(), std::max(0, item.width() - kTrailingPad), kRowHeight);
}

QRect DirectoryDelegate::removeButtonRect(const QRect& item)
{
    const QRect plate = plateRect(item);
    return QRect(plate.right() + 1 - kTrailingInset - kButtonSide,
                 plate.top() + (kRowHeight - kButtonSide) / 2, kButtonSide, kButtonSide);
}

QRect DirectoryDelegate::editButtonRect(const QRect& item)
{
    return removeButtonRect(item).translated(-(kButtonSide + kSpacing), 0);
}

QRect DirectoryDelegate::termsRect(const QRect& item)
{
    const QRect edit = editButtonRect(item);
    return QRect(edit.left() - kSpacing - kTermsWidth, edit.top(), kTermsWidth, kButtonSide);
}

QRect DirectoryDelegate::editorRect(const QRect& item)
{
    return plateRect(item).adjusted(kLeadingPad, kVerticalPad, -kTrailingInset, -kVerticalPad);
}

QSize DirectoryDelegate::sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const
{
    // No width of its own: the list makes every row as wide as its viewport, also after the
    // scroll bar comes or goes.
    return {0, kRowHeight + kRowGap};
}

void DirectoryDelegate::paint(QPainter* p, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    const auto* list = qobject_cast<const DirectoryList*>(option.widget);
    const QRect item = option.rect;
    const QRect plate = plateRect(item);
    p->save();
    p->setRenderHint(QPainter::Antialiasing);
    Painters::roundedCard(*p, QRectF(plate), 12, Theme::cream(), Theme::border());
    if (list && list->showsKeyboardFocus(index))
        KeyboardFocus::paintRing(*p, QRectF(plate).adjusted(1, 1, -1, -1), 11);
    if (index.data(DirectoryModel::EditingRole).toBool()) {
        p->restore(); // the editor covers the rest
        return;
    }

    const QRect edit = editButtonRect(item);
    const QRect remove = removeButtonRect(item);
    const QVariant termsDays = index.data(DirectoryModel::TermsRole);
    const QRect terms = termsRect(item);
    const int textEnd = termsDays.isValid() ? terms.left() : edit.left();
    const QRect text(plate.left() + kLeadingPad, plate.top(), textEnd - kSpacing - plate.left() - kLeadingPad,
                     plate.height());
    const QFont font = Theme::font(12, QFont::Medium);
    p->setFont(font);
    p->setPen(Theme::ink());
    const QString name = Text::shown(index.data(Qt::DisplayRole).toString());
    p->drawText(text, Qt::AlignVCenter | Qt::AlignLeft | Qt::TextSingleLine,
                QFontMetrics(font).elidedText(name, Qt::ElideRight, std::max(0, text.width())));

    const DirectoryList::RowButton hovered =
        list ? list->hoveredButton(index) : DirectoryList::RowButton::none;
    if (termsDays.isValid()) {
        const bool hot = hovered == DirectoryList::RowButton::terms;
        Painters::roundedCard(*p, QRectF(terms).adjusted(0.5, 0.5, -0.5, -0.5), 7, Qt::white,
                              hot ? Theme::brand() : Theme::border());
        const QFont chip = Theme::font(11, QFont::DemiBold);
        p->setFont(chip);
        p->setPen(hot ? Theme::ink() : Theme::secondary());
        const auto* model = qobject_cast<const DirectoryModel*>(index.model());
        const QString days =
            DirectoryText::termsChip(model ? model->language() : AppLanguage::en, termsDays.toInt());
        p->drawText(terms, Qt::AlignCenter | Qt::TextSingleLine,
                    QFontMetrics(chip).elidedText(days, Qt::ElideRight, terms.width() - 4));
    }
    const qreal dpr = p->device() ? p->device()->devicePixelRatioF() : 1.0;
    auto symbol = [&](const QRect& area, const QString& symbolName, bool hot) {
        if (hot) {
            QColor wash = Theme::ink();
            wash.setAlphaF(0.05f);
            Painters::capsule(*p, QRectF(area), wash);
        }
        const QPixmap pm = Icons::pixmap(symbolName, hot ? Theme::ink() : Theme::muted(), kSymbolSize, dpr);
        p->drawPixmap(QPointF(area.left() + (area.width() - kSymbolSize) / 2.0,
                              area.top() + (area.height() - kSymbolSize) / 2.0),
                      pm);
    };
    symbol(edit, QStringLiteral("pencil"), hovered == DirectoryList::RowButton::edit);
    symbol(remove, QStringLiteral("trash"), hovered == DirectoryList::RowButton::remove);
    p->restore();
}

QWidget* DirectoryDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem&,
                                         const QModelIndex&) const
{
    return new DirectoryRowEditor(parent);
}

void DirectoryDelegate::updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option,
                                             const QModelIndex&) const
{
    editor->setGeometry(editorRect(option.rect));
}
