#include "board/StreamControls.h"

#include "board/TrashZone.h"
#include "model/Store.h"
#include "ui/Icons.h"
#include "ui/PillSegment.h"
#include "ui/TextLabel.h"
#include "ui/Theme.h"

#include <QHBoxLayout>
#include <QLabel>

StreamControls::StreamControls(Store& store, QWidget* parent) : QWidget(parent), m_store(store)
{
    setObjectName(QStringLiteral("streamControls"));
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(14);

    m_title = TextLabel::make(Theme::font(12, QFont::ExtraBold, 0.6), Theme::ink(), this);
    m_title->setObjectName(QStringLiteral("streamTitle"));
    m_switch = new PillSegment(this);
    m_switch->setObjectName(QStringLiteral("layoutSwitch"));
    m_switch->setCompact(true);

    auto* hintBox = new QWidget(this);
    auto* hintRow = new QHBoxLayout(hintBox);
    hintRow->setContentsMargins(0, 0, 0, 0);
    hintRow->setSpacing(6);
    m_hintIcon = new QLabel(hintBox);
    m_hintIcon->setPixmap(Icons::pixmap(QStringLiteral("arrow.up.and.down.and.arrow.left.and.right"),
                                        Theme::muted(), 12, devicePixelRatioF(), QFont::Medium));
    m_hint = TextLabel::make(Theme::font(12, QFont::Medium), Theme::muted(), hintBox);
    m_hint->setObjectName(QStringLiteral("dragHint"));
    hintRow->addWidget(m_hintIcon);
    hintRow->addWidget(m_hint);
    // Not interactive: clicks and drags pass through to the page.
    hintBox->setAttribute(Qt::WA_TransparentForMouseEvents);

    m_trash = new TrashZone(store, this);

    row->addWidget(m_title);
    row->addWidget(m_switch);
    row->addStretch(1);
    row->addWidget(hintBox);
    row->addWidget(m_trash);

    connect(m_switch, &PillSegment::selectionChanged, this,
            [this](const QVariant& value) { m_store.setBoardLayout(BoardLayout(value.toInt())); });
    connect(&m_store, &Store::languageChanged, this, &StreamControls::retranslate);
    connect(&m_store, &Store::dataChanged, this, &StreamControls::syncLayout);
    retranslate();
}

void StreamControls::retranslate()
{
    auto tr = [this](const QString& en, const QString& trText) { return m_store.tr(en, trText); };
    m_title->setText(tr(QStringLiteral("PROJECT STREAM"), QStringLiteral("PROJE AKIŞI")));
    m_switch->setOptions({
        {int(BoardLayout::columns), tr(QStringLiteral("Columns"), QStringLiteral("Sütunlar")),
         QStringLiteral("rectangle.split.3x1")},
        {int(BoardLayout::table), tr(QStringLiteral("Rows"), QStringLiteral("Satırlar")),
         QStringLiteral("list.bullet.rectangle")},
    });
    m_hint->setText(tr(QStringLiteral("Drag to reorder"), QStringLiteral("Sıralamak için sürükleyin")));
    syncLayout();
}

void StreamControls::syncLayout()
{
    m_switch->setSelection(int(m_store.data().layout));
}
