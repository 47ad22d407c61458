#include "board/CardList.h"

#include "board/BoardColumns.h"
#include "board/ColumnModel.h"
#include "board/DragScroller.h"
#include "i18n/L10n.h"
#include "model/Payments.h"
#include "model/Store.h"
#include "model/Text.h"
#include "ui/StatusStyle.h"
#include "ui/Theme.h"

#include <QApplication>
#include <QDrag>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

namespace {
constexpr int kPlaceholderPad = 48;
const QColor kPlaceholderOutline(0xD6, 0xD3, 0xD1);

QFont placeholderFont()
{
    return Theme::font(12, QFont::Medium);
}

ProjectList::ItemStyle cardStyle()
{
    const QMargins m = ProjectCard::shadowMargins();
    ProjectList::ItemStyle style;
    style.firstTop = m.top();
    style.gap = CardList::kSpacing;
    // The list keeps room around each card so the hover shadow is not cut off.
    style.side = m.left();
    style.bleed = m;
    style.hoverFades = true;
    return style;
}
} // namespace

CardList::CardList(Store& store, ColumnModel* model, QWidget* parent)
    : ProjectList(store, model, cardStyle(), parent)
{
    setObjectName(QStringLiteral("cardList"));
    setAttribute(Qt::WA_NoSystemBackground);
    relayout();
}

ColumnModel* CardList::model() const
{
    return static_cast<ColumnModel*>(listModel());
}

void CardList::setDark(bool dark)
{
    if (dark == m_dark)
        return;
    m_dark = dark;
    update();
}

int CardList::itemHeight(int row) const
{
    const Project& p = model()->project(row);
    return ProjectCard::height(p.outsource > 0, Payments::showsDue(p));
}

void CardList::laidOut()
{
    const int height = contentHeight();
    if (height != m_contentHeight || projectCount() == 0) {
        m_contentHeight = height;
        updateGeometry();
    }
}

int CardList::placeholderHeight() const
{
    return 2 * kPlaceholderPad + QFontMetrics(placeholderFont()).height();
}

int CardList::contentHeight() const
{
    const QMargins m = ProjectCard::shadowMargins();
    const int bottom = projectCount() > 0 ? itemsBottom() : m.top() + placeholderHeight();
    return bottom + m.bottom();
}

QSize CardList::sizeHint() const
{
    return QSize(280, contentHeight());
}

QSize CardList::minimumSizeHint() const
{
    return QSize(120, contentHeight());
}

QString CardList::emptyText() const
{
    if (projectCount() > 0)
        return {};
    const Store& s = store();
    // Any character in the search text counts, blanks included.
    return !s.ui().searchQuery().isEmpty()
               ? s.tr(QStringLiteral("No matches"), QStringLiteral("Eşleşme bulunamadı"))
               : s.tr(QStringLiteral("Drop projects here"), QStringLiteral("Projeleri buraya bırakın"));
}

ProjectCard::Content CardList::content(int row) const
{
    ProjectCard::Content c;
    readTexts(row, c);
    c.statusTitle = StatusStyle::title(model()->status(), language());
    if (!c.outsource.isEmpty()) {
        c.outsource.prepend(
            L10n::tr(language(), QStringLiteral("Outsource: "), QStringLiteral("Dış Kaynak: ")));
        // The same word in both languages.
        c.net = QStringLiteral("Net: ") + model()->index(row).data(ProjectListModel::NetTextRole).toString();
    }
    return c;
}

QString CardList::itemDescription(int row) const
{
    return content(row).description();
}

bool CardList::boardKey(ProjectCursor::BoardKey key, int row)
{
    return m_board && m_board->cardKey(this, key, row);
}

QRectF CardList::editButtonRect(const QRectF& item) const
{
    return ProjectCard::editButtonRect(item);
}

QString CardList::editToolTip() const
{
    return L10n::tr(language(), QStringLiteral("Edit project"), QStringLiteral("Projeyi düzenle"));
}

void CardList::paintEvent(QPaintEvent* event)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    if (projectCount() == 0)
        paintPlaceholder(p);
    paintItems(p, event->rect());
}

void CardList::paintPlaceholder(QPainter& p) const
{
    const QMargins m = ProjectCard::shadowMargins();
    const QRectF box(m.left(), m.top(), width() - m.left() - m.right(), placeholderHeight());
    QPainterPath path;
    path.addRoundedRect(box.adjusted(0.5, 0.5, -0.5, -0.5), 15.5, 15.5);
    p.fillPath(path, QColor(255, 255, 255, m_dark ? 31 : 102));
    QPen pen(kPlaceholderOutline, 1);
    pen.setDashPattern({4, 3});
    p.setPen(pen);
    p.drawPath(path);
    p.setFont(placeholderFont());
    p.setPen(m_dark ? QColor(Qt::white) : Theme::muted());
    p.drawText(box, Qt::AlignCenter, emptyText());
}

void CardList::paintItem(QPainter& p, int row, const QRect& rect, bool current)
{
    ProjectCard::paint(p, QRectF(rect), content(row), hoverAmount(row));
    if (current)
        cursor().paintRing(p, QRectF(rect), ProjectCard::kRadius);
}

void CardList::mouseMoveEvent(QMouseEvent* event)
{
    // A card pressed and pulled far enough is dragged.
    const int pressed = pressedRow();
    if ((event->buttons() & Qt::LeftButton) && pressed >= 0 &&
        (event->position().toPoint() - pressPos()).manhattanLength() >= QApplication::startDragDistance()) {
        forgetPress();
        startDrag(pressed);
        return;
    }
    ProjectList::mouseMoveEvent(event);
}

void CardList::startDrag(int row)
{
    const Project project = model()->project(row);
    auto* mime = new QMimeData;
    mime->setText(QStringLiteral("card:") + uuidText(project.id));
    auto* drag = new QDrag(this);
    drag->setMimeData(mime);
    const QPixmap preview = ProjectCard::dragPreview(Text::shown(project.name), devicePixelRatioF());
    drag->setPixmap(preview);
    drag->setHotSpot(QPoint(int(preview.width() / preview.devicePixelRatio() / 2),
                            int(preview.height() / preview.devicePixelRatio() / 2)));
    // The drag runs its own event loop; a drop may rebuild the board around this list.
    const QPointer<CardList> self(this);
    const DragScroller::Session scrolling;
    drag->exec(Qt::MoveAction | Qt::CopyAction, Qt::MoveAction);
    if (self)
        setHover(-1);
}
