#include "board/ChasePopover.h"

#include "model/Payments.h"
#include "model/Store.h"
#include "model/Text.h"
#include "ui/CreamScroller.h"
#include "ui/GlyphButton.h"
#include "ui/Icons.h"
#include "ui/KeyboardFocus.h"
#include "ui/PopoverPlace.h"
#include "ui/TextLabel.h"
#include "ui/Theme.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QVBoxLayout>

namespace {
enum Role {
    IdRole = Qt::UserRole + 1,
    AmountRole,
    DetailRole, // "Acme · 30-day terms"
    DaysRole,   // "12 days overdue"
};

constexpr int kRowHeight = 52;
constexpr int kVisibleRows = 6;
constexpr int kRadius = 12;

// Two lines per project: name and amount, then client and terms beside the days overdue in rose.
class ChaseRowDelegate final : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const override
    {
        return QSize(option.rect.width(), kRowHeight);
    }

    void paint(QPainter* p, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        static const QFont name = Theme::font(13, QFont::Bold);
        static const QFont amount = Theme::font(13, QFont::ExtraBold);
        static const QFont small = Theme::font(11, QFont::Medium);
        static const QFont days = Theme::font(11, QFont::Bold);
        p->save();
        p->setRenderHint(QPainter::Antialiasing);
        const QRectF r = QRectF(option.rect).adjusted(0, 2, 0, -2);
        const bool hot = option.state & (QStyle::State_MouseOver | QStyle::State_Selected);
        if (hot) {
            QPainterPath path;
            path.addRoundedRect(r, 8, 8);
            p->fillPath(path, Theme::cream());
        }
        const QRectF inner = r.adjusted(10, 6, -10, -6);
        const qreal half = inner.height() / 2;
        const QRectF top(inner.left(), inner.top(), inner.width(), half);
        const QRectF bottom(inner.left(), inner.top() + half, inner.width(), half);

        const QString amountText = index.data(AmountRole).toString();
        const qreal amountWidth = QFontMetricsF(amount).horizontalAdvance(amountText);
        p->setFont(amount);
        p->setPen(Theme::ink());
        p->drawText(top, Qt::AlignRight | Qt::AlignVCenter, amountText);
        p->setFont(name);
        p->drawText(top.adjusted(0, 0, -amountWidth - 12, 0), Qt::AlignLeft | Qt::AlignVCenter,
                    QFontMetricsF(name).elidedText(index.data(Qt::DisplayRole).toString(), Qt::ElideRight,
                                                   top.width() - amountWidth - 12));

        const QString daysText = index.data(DaysRole).toString();
        const qreal daysWidth = QFontMetricsF(days).horizontalAdvance(daysText);
        constexpr int kClock = 10;
        const qreal dpr = p->device() ? p->device()->devicePixelRatioF() : 1;
        const QPixmap clock =
            Icons::pixmap(QStringLiteral("clock"), Theme::rose(), kClock, dpr, QFont::DemiBold);
        p->drawPixmap(QRectF(bottom.right() - daysWidth - 5 - kClock, bottom.center().y() - kClock / 2.0,
                             kClock, kClock),
                      clock, QRectF(clock.rect()));
        p->setFont(days);
        p->setPen(Theme::rose());
        p->drawText(bottom, Qt::AlignRight | Qt::AlignVCenter, daysText);
        p->setFont(small);
        p->setPen(Theme::secondary());
        const qreal room = bottom.width() - daysWidth - kClock - 5 - 12;
        p->drawText(bottom.adjusted(0, 0, -(bottom.width() - room), 0), Qt::AlignLeft | Qt::AlignVCenter,
                    QFontMetricsF(small).elidedText(index.data(DetailRole).toString(), Qt::ElideRight, room));
        if (option.state & QStyle::State_HasFocus && KeyboardFocus::ringShown(option.widget))
            KeyboardFocus::paintRing(*p, r, 8);
        p->restore();
    }
};

} // namespace

ChasePopover::ChasePopover(Store& store, QWidget* parent)
    : QWidget(parent, Qt::Popup | Qt::FramelessWindowHint), m_store(store),
      m_title(TextLabel::make(Theme::font(15, QFont::Bold), Theme::ink(), this)),
      m_close(new GlyphButton(GlyphButton::popoverCloseLook(), this)),
      m_summary(TextLabel::make(Theme::font(12, QFont::DemiBold), Theme::rose(), this)),
      m_list(new QListWidget(this)), m_copy(new QPushButton(this))
{
    setObjectName(QStringLiteral("chaseList"));
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedWidth(kWidth);

    m_close->setObjectName(QStringLiteral("chaseListClose"));
    connect(m_close, &QAbstractButton::clicked, this, &QWidget::close);

    m_list->setObjectName(QStringLiteral("chaseRows"));
    m_list->setItemDelegate(new ChaseRowDelegate(m_list));
    m_list->setFrameShape(QFrame::NoFrame);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    m_list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_list->setMouseTracking(true);
    m_list->viewport()->setAttribute(Qt::WA_Hover);
    m_list->viewport()->setCursor(Qt::PointingHandCursor);
    KeyboardFocus::track(m_list);
    QPalette listPalette = m_list->palette();
    listPalette.setColor(QPalette::Base, Qt::white);
    m_list->setPalette(listPalette);
    creamScroller(m_list);
    // A click opens the row; the keyboard opens it with Return.
    connect(m_list, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { openRow(m_list->row(item)); });
    connect(m_list, &QListWidget::itemActivated, this,
            [this](QListWidgetItem* item) { openRow(m_list->row(item)); });

    m_copy->setObjectName(QStringLiteral("chaseCopy"));
    connect(m_copy, &QPushButton::clicked, this, &ChasePopover::copyAsText);

    auto* header = new QHBoxLayout;
    header->setSpacing(8);
    header->addWidget(m_title, 1);
    header->addWidget(m_close, 0, Qt::AlignVCenter);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_copy);

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(16, 16, 16, 16);
    column->setSpacing(10);
    column->addLayout(header);
    column->addWidget(m_summary);
    column->addWidget(m_list, 1);
    column->addLayout(buttons);

    connect(&store, &Store::dataChanged, this, &ChasePopover::refresh);
    connect(&store, &Store::activeYearChanged, this, &ChasePopover::refresh);
    connect(&store, &Store::rateChanged, this, &ChasePopover::refresh);
    connect(&store, &Store::dayChanged, this, &ChasePopover::refresh);
    connect(&store, &Store::languageChanged, this, &ChasePopover::retranslate);
    retranslate();
}

void ChasePopover::retranslate()
{
    m_title->setText(m_store.tr(QStringLiteral("Overdue Payments"), QStringLiteral("Gecikmiş Ödemeler")));
    m_close->setAccessibleName(m_store.tr(QStringLiteral("Close"), QStringLiteral("Kapat")));
    m_list->setAccessibleName(m_title->text());
    m_copy->setText(m_store.tr(QStringLiteral("Copy as Text"), QStringLiteral("Metin Olarak Kopyala")));
    refresh();
}

void ChasePopover::refresh()
{
    const Payments::Overdue overdue = m_store.overdue();
    m_summary->setText(Payments::overdueSummary(overdue, m_store.language(),
                                                [this](double amount) { return m_store.money(amount); }));
    const int current = m_list->currentRow();
    m_list->clear();
    for (const Payments::OverdueProject& o : overdue.projects) {
        auto* item = new QListWidgetItem(Text::shown(o.project.name), m_list);
        const QString amount = m_store.money(o.project.fee);
        const QString days = m_store.dueText(o.project);
        const QString detail = Text::shown(o.project.client) + QStringLiteral(" · ") +
                               Payments::termsText(o.termsDays, m_store.language());
        item->setData(IdRole, o.project.id);
        item->setData(AmountRole, amount);
        item->setData(DetailRole, detail);
        item->setData(DaysRole, days);
        item->setData(
            Qt::AccessibleTextRole,
            QStringList{Text::shown(o.project.name), amount, days, detail}.join(QStringLiteral(", ")));
    }
    if (m_list->count() > 0)
        m_list->setCurrentRow(std::clamp(current, 0, m_list->count() - 1));
    m_list->setFixedHeight(kRowHeight * std::clamp(m_list->count(), 1, kVisibleRows) + 2);
    m_copy->setEnabled(overdue.count > 0);
    if (isVisible())
        adjustSize();
}

void ChasePopover::openRow(int row)
{
    const QListWidgetItem* item = m_list->item(row);
    // A style that activates on a single click reports the click twice.
    if (!item || m_opened)
        return;
    m_opened = true;
    const QUuid id = item->data(IdRole).toUuid();
    close();
    m_store.ui().setEditor(EditorTarget::edit(id));
}

void ChasePopover::copyAsText()
{
    const QString text = m_store.chaseListText();
    if (text.isEmpty())
        return;
    QGuiApplication::clipboard()->setText(text);
    m_store.ui().show(
        m_store.tr(QStringLiteral("Overdue list copied"), QStringLiteral("Gecikme listesi kopyalandı")));
}

void ChasePopover::openBelow(QWidget* anchor)
{
    refresh();
    adjustSize();
    move(popoverPosition(anchor, size(), 6, PopoverAlign::left));
    show();
    activateWindow();
    m_list->setFocus(Qt::PopupFocusReason);
}

void ChasePopover::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

void ChasePopover::hideEvent(QHideEvent* event)
{
    QWidget::hideEvent(event);
    emit closed();
}

void ChasePopover::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    // Without a compositor a popup cannot be see-through: the rounded shape is cut out instead.
    QPainterPath path;
    path.addRoundedRect(QRectF(rect()), kRadius, kRadius);
    setMask(path.toFillPolygon().toPolygon());
}

void ChasePopover::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath path;
    path.addRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), kRadius, kRadius);
    p.fillPath(path, Qt::white);
    p.setPen(QPen(Theme::border(), 1));
    p.drawPath(path);
}
