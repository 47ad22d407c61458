#include "window/SearchBar.h"

#include "model/Store.h"
#include "ui/Animations.h"
#include "ui/Icons.h"
#include "ui/Painters.h"
#include "ui/RoundedCard.h"
#include "ui/Spring.h"
#include "ui/Theme.h"

#include <QGraphicsOpacityEffect>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>

namespace {
constexpr int kSideMargin = 32;
constexpr int kBottomMargin = 14;

} // namespace

SearchBar::SearchBar(Store& store, QWidget* parent) : QWidget(parent), m_store(store)
{
    setObjectName(QStringLiteral("searchBar"));
    m_bar = new RoundedCard(16, Qt::white, Theme::outline(), this);
    m_bar->setObjectName(QStringLiteral("searchField"));
    auto* row = new QHBoxLayout(m_bar);
    row->setContentsMargins(16, 9, 16, 9);
    row->setSpacing(10);
    m_icon = new QLabel(m_bar);
    m_icon->setPixmap(
        Icons::pixmap(QStringLiteral("magnifyingglass"), Theme::muted(), 12, devicePixelRatioF()));
    m_field = new QLineEdit(m_bar);
    m_field->setObjectName(QStringLiteral("searchInput"));
    m_field->setFrame(false);
    m_field->setFont(Theme::font(12, QFont::Medium));
    m_field->setStyleSheet(QStringLiteral("QLineEdit { background: transparent; border: none; }"));
    m_field->installEventFilter(this);
    row->addWidget(m_icon);
    row->addWidget(m_field, 1);

    m_opacity = new QGraphicsOpacityEffect(m_bar);
    m_bar->setGraphicsEffect(m_opacity);
    m_spring = new SpringAnimation(0.2, 0.85, this);
    connect(m_spring, &QVariantAnimation::valueChanged, this,
            [this](const QVariant& v) { setProgress(v.toReal()); });
    connect(m_spring, &QAbstractAnimation::finished, this, [this] {
        if (!m_store.ui().searchVisible())
            setVisible(false);
    });

    UiState& ui = m_store.ui();
    connect(m_field, &QLineEdit::textEdited, &ui, &UiState::setSearchQuery);
    connect(&ui, &UiState::searchQueryChanged, this, [this] {
        if (m_field->text() != m_store.ui().searchQuery())
            m_field->setText(m_store.ui().searchQuery());
    });
    connect(&ui, &UiState::searchVisibleChanged, this, &SearchBar::visibilityChanged);
    connect(&m_store, &Store::languageChanged, this, &SearchBar::retranslate);
    m_field->setText(ui.searchQuery());
    retranslate();
    const bool shown = ui.searchVisible();
    setProgress(shown ? 1 : 0);
    setVisible(shown);
}

void SearchBar::retranslate()
{
    m_field->setPlaceholderText(
        m_store.tr(QStringLiteral("Search projects by name, client, or category..."),
                   QStringLiteral("Projeleri isim, müşteri veya kategoriye göre ara...")));
    m_field->setAccessibleName(m_field->placeholderText());
}

void SearchBar::visibilityChanged()
{
    const bool shown = m_store.ui().searchVisible();
    if (shown) {
        setVisible(true);
        m_field->setFocus(Qt::OtherFocusReason);
    } else {
        if (m_field->hasFocus())
            m_field->clearFocus();
    }
    m_spring->stop();
    if (!Animations::enabled()) {
        setProgress(shown ? 1 : 0);
        setVisible(shown);
        return;
    }
    m_spring->setStartValue(m_progress);
    m_spring->setEndValue(shown ? 1.0 : 0.0);
    m_spring->start();
}

int SearchBar::naturalHeight() const
{
    return m_bar->sizeHint().height() + kBottomMargin;
}

QSize SearchBar::sizeHint() const
{
    const qreal shown = qBound(0.0, m_progress, 1.0);
    return {m_bar->sizeHint().width() + 2 * kSideMargin, qRound(naturalHeight() * shown)};
}

QSize SearchBar::minimumSizeHint() const
{
    return {0, sizeHint().height()};
}

void SearchBar::setProgress(qreal progress)
{
    m_progress = progress;
    m_opacity->setOpacity(qBound(0.0, progress, 1.0));
    setFixedHeight(sizeHint().height());
    // Slides down from under the header: the field's bottom edge leads.
    const int barHeight = m_bar->sizeHint().height();
    const int y = height() - kBottomMargin - barHeight;
    m_bar->setGeometry(kSideMargin, y, qMax(0, width() - 2 * kSideMargin), barHeight);
}

void SearchBar::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    setProgress(m_progress);
}

bool SearchBar::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_field && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        if (m_store.ui().searchVisible())
            m_store.ui().setSearchVisible(false);
        return true;
    }
    return QWidget::eventFilter(watched, event);
}
