#include "stats/CategoryDetailSheet.h"

#include "model/Store.h"
#include "stats/CategoryListModel.h"
#include "stats/CategoryRowDelegate.h"
#include "ui/CreamScroller.h"
#include "ui/GlyphButton.h"
#include "ui/TextLabel.h"
#include "ui/Theme.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListView>
#include <QPainter>
#include <QVBoxLayout>

namespace {} // namespace

CategoryDetailSheet::CategoryDetailSheet(Store& store, Breakdown::Kind kind,
                                         const QVector<NamedTotal>& categories, double gross, QWidget* parent)
    : QWidget(parent), m_store(store), m_kind(kind),
      m_title(TextLabel::make(Theme::font(15, QFont::Bold), Theme::ink(), this)),
      m_close(new GlyphButton(GlyphButton::popoverCloseLook(), this)), m_model(new CategoryListModel(this)),
      m_list(new QListView(this))
{
    setObjectName(QStringLiteral("categoryDetailSheet"));
    setFixedSize(kWidth, kHeight);

    m_close->setObjectName(QStringLiteral("categorySheetClose"));
    m_close->setAccessibleName(QStringLiteral("Close"));
    connect(m_close, &QAbstractButton::clicked, this, &CategoryDetailSheet::dismiss);

    m_list->setObjectName(QStringLiteral("categoryList"));
    m_list->setModel(m_model);
    m_list->setItemDelegate(new CategoryRowDelegate(store, kind, m_list));
    m_list->setFrameShape(QFrame::NoFrame);
    m_list->setSelectionMode(QAbstractItemView::NoSelection);
    m_list->setFocusPolicy(Qt::NoFocus);
    m_list->setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    m_list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_list->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    QPalette listPalette = m_list->palette();
    listPalette.setColor(QPalette::Base, Qt::white);
    m_list->setPalette(listPalette);
    creamScroller(m_list);

    auto* header = new QHBoxLayout;
    header->setContentsMargins(0, 0, 0, 2);
    header->setSpacing(8);
    header->addWidget(m_title, 1);
    header->addWidget(m_close, 0, Qt::AlignVCenter);

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(20, 20, 20, 20);
    column->setSpacing(16);
    column->addLayout(header);
    column->addWidget(m_list, 1);

    connect(&store, &Store::languageChanged, this, &CategoryDetailSheet::retranslate);
    connect(&store, &Store::rateChanged, this, &CategoryDetailSheet::retranslate);
    retranslate();
    setCategories(categories, gross);
}

void CategoryDetailSheet::setCategories(const QVector<NamedTotal>& categories, double gross)
{
    m_model->setCategories(categories, gross);
    m_list->viewport()->update();
}

const QVector<NamedTotal>& CategoryDetailSheet::categories() const
{
    return m_model->categories();
}

double CategoryDetailSheet::gross() const
{
    return m_model->gross();
}

QString CategoryDetailSheet::title() const
{
    return m_title->text();
}

void CategoryDetailSheet::retranslate()
{
    m_title->setText(Breakdown::sheetTitle(m_store, m_kind));
    m_close->setAccessibleName(m_store.tr(QStringLiteral("Close"), QStringLiteral("Kapat")));
    m_list->viewport()->update();
}

void CategoryDetailSheet::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
    // A hairline edge keeps the white popover apart from the white cards under it.
    p.setPen(Theme::border());
    p.drawRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5));
}
