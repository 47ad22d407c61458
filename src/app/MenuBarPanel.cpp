#include "app/MenuBarPanel.h"

#include "app/PanelButton.h"
#include "model/Payments.h"
#include "model/Store.h"
#include "ui/Announcer.h"
#include "ui/ColorDot.h"
#include "ui/Eyebrow.h"
#include "ui/Icons.h"
#include "ui/LogoView.h"
#include "ui/Painters.h"
#include "ui/ProgressTrack.h"
#include "ui/RoundedCard.h"
#include "ui/TextLabel.h"
#include "ui/Theme.h"
#include "ui/YearMenu.h"

#include <QApplication>
#include <QCursor>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLocale>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>

namespace {
// The earned amount: one line, shrinking to 0.6 of its size before it would be cut.
class FittedAmount final : public QWidget
{
public:
    explicit FittedAmount(QWidget* parent) : QWidget(parent)
    {
        setObjectName(QStringLiteral("panelAmount"));
        setFont(Theme::font(30, QFont::ExtraBold, -0.6));
        setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    }
    void setText(const QString& text)
    {
        m_text = text;
        setAccessibleName(text);
        update();
    }
    QString text() const { return m_text; }
    QSize sizeHint() const override { return {100, QFontMetrics(font()).height()}; }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.setRenderHint(QPainter::TextAntialiasing);
        QFont f = font();
        const qreal natural = QFontMetricsF(f).horizontalAdvance(m_text);
        if (natural > width() && natural > 0) {
            const qreal scale = qMax(0.6, width() / natural);
            f.setPixelSize(qMax(1, int(30 * scale)));
            f.setLetterSpacing(QFont::AbsoluteSpacing, -0.6 * scale);
        }
        p.setFont(f);
        p.setPen(Theme::brand());
        p.drawText(rect(), Qt::AlignLeft | Qt::AlignVCenter, m_text);
    }

private:
    QString m_text;
};

} // namespace

MenuBarPanel::MenuBarPanel(Store& store, std::function<void()> showMainWindow, QWidget* parent)
    : QWidget(parent, Qt::Popup | Qt::FramelessWindowHint), m_store(store),
      m_showMainWindow(std::move(showMainWindow))
{
    setObjectName(QStringLiteral("menuBarPanel"));
    setWindowTitle(QStringLiteral("Tallybrook"));
    setAttribute(Qt::WA_DeleteOnClose);
    m_announcer = new Announcer(this);
    setFixedWidth(kWidth);

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(16, 16, 16, 16);
    column->setSpacing(14);

    auto* top = new QHBoxLayout;
    top->setSpacing(8);
    top->addWidget(new LogoView(110, this), 0, Qt::AlignVCenter);
    top->addStretch(1);
    auto* years = new YearMenu(store, this);
    years->setObjectName(QStringLiteral("panelYearMenu"));
    top->addWidget(years, 0, Qt::AlignVCenter);
    column->addLayout(top);

    auto* earned = new QVBoxLayout;
    earned->setSpacing(2);
    m_earnedLabel = new Eyebrow(QString(), Theme::muted(), &store, this);
    m_earnedLabel->setObjectName(QStringLiteral("panelEarnedLabel"));
    earned->addWidget(m_earnedLabel);
    m_amount = new FittedAmount(this);
    earned->addWidget(m_amount);
    m_netLine = TextLabel::make(Theme::font(11, QFont::Medium), Theme::secondary(), this);
    m_netLine->setObjectName(QStringLiteral("panelNetLine"));
    earned->addWidget(m_netLine);
    column->addLayout(earned);

    auto* target = new QVBoxLayout;
    target->setSpacing(6);
    auto* targetRow = new QHBoxLayout;
    m_targetLabel = TextLabel::make(Theme::font(11, QFont::Medium), Theme::secondary(), this);
    m_targetLabel->setObjectName(QStringLiteral("panelTargetLabel"));
    m_targetPercent = TextLabel::make(Theme::font(11, QFont::Bold), Theme::ink(), this);
    m_targetPercent->setObjectName(QStringLiteral("panelTargetPercent"));
    targetRow->addWidget(m_targetLabel);
    targetRow->addStretch(1);
    targetRow->addWidget(m_targetPercent);
    target->addLayout(targetRow);
    m_progress = new ProgressTrack(0, 6, this);
    m_progress->setObjectName(QStringLiteral("panelProgress"));
    target->addWidget(m_progress);
    m_forecast = TextLabel::make(Theme::font(11, QFont::DemiBold), Theme::secondary(), this);
    m_forecast->setObjectName(QStringLiteral("panelForecast"));
    target->addWidget(m_forecast);
    column->addLayout(target);

    m_statusCard = new RoundedCard(14, Qt::white, Theme::border(), this);
    m_statusCard->setObjectName(QStringLiteral("panelStatusCard"));
    m_statusRows = new QVBoxLayout(m_statusCard);
    m_statusRows->setContentsMargins(12, 12, 12, 12);
    m_statusRows->setSpacing(6);
    column->addWidget(m_statusCard);

    auto* actions = new QVBoxLayout;
    actions->setSpacing(2);
    m_open = new PanelButton(QString(), QStringLiteral("macwindow"), this);
    m_open->setObjectName(QStringLiteral("panelOpenButton"));
    m_newProject = new PanelButton(QString(), QStringLiteral("plus"), this);
    m_newProject->setObjectName(QStringLiteral("panelNewProjectButton"));
    m_quit = new PanelButton(QString(), QStringLiteral("power"), this);
    m_quit->setObjectName(QStringLiteral("panelQuitButton"));
    auto* divider = new QFrame(this);
    divider->setFixedHeight(1);
    divider->setAutoFillBackground(true);
    QPalette dividerPalette = divider->palette();
    dividerPalette.setColor(QPalette::Window, Theme::divider());
    divider->setPalette(dividerPalette);
    actions->addWidget(m_open);
    actions->addWidget(m_newProject);
    actions->addSpacing(4 - actions->spacing());
    actions->addWidget(divider);
    actions->addSpacing(4 - actions->spacing());
    actions->addWidget(m_quit);
    column->addLayout(actions);

    connect(m_open, &QAbstractButton::clicked, this, [this] {
        close();
        m_showMainWindow();
    });
    connect(m_newProject, &QAbstractButton::clicked, this, [this] {
        close();
        m_showMainWindow();
        m_store.ui().setEditor(EditorTarget::newProject());
    });
    connect(m_quit, &QAbstractButton::clicked, this, [this] {
        close();
        QCoreApplication::quit();
    });

    for (auto signal : {&Store::dataChanged, &Store::activeYearChanged, &Store::languageChanged,
                        &Store::rateChanged, &Store::dayChanged})
        connect(&store, signal, this, &MenuBarPanel::refresh);
    refresh();
    adjustSize();
}

void MenuBarPanel::refresh()
{
    Store& s = m_store;
    const QString year = QString::number(s.activeYear());
    m_earnedLabel->setText(
        s.tr(QStringLiteral("Earned in %1"), QStringLiteral("%1 Yılında Kazanılan")).arg(year));
    // The fees of the year's paid projects.
    static_cast<FittedAmount*>(m_amount)->setText(s.money(s.total(Status::paid)));
    const QString tax = QLocale().toString(s.data().taxRate);
    const QString net = s.money(s.netAfterTax());
    m_netLine->setText(
        s.tr(QStringLiteral("Net after %1% tax: %2"), QStringLiteral("%%1 vergi sonrası net: %2"))
            .arg(tax, net));
    m_targetLabel->setText(
        s.tr(QStringLiteral("Target %1"), QStringLiteral("Hedef: %1")).arg(s.money(s.data().targetGoal)));
    const double progress = s.targetProgress();
    m_targetPercent->setText(s.percent(progress));
    m_progress->setValue(progress);
    const QString forecast = s.forecastText();
    m_forecast->setText(forecast);
    m_forecast->setVisible(!forecast.isEmpty());
    m_open->setText(s.tr(QStringLiteral("Open Tallybrook"), QStringLiteral("Tallybrook'yı Aç")));
    m_newProject->setText(s.tr(QStringLiteral("New Project…"), QStringLiteral("Yeni Proje…")));
    m_quit->setText(s.tr(QStringLiteral("Quit Tallybrook"), QStringLiteral("Tallybrook'dan Çık")));
    for (PanelButton* b : {m_open, m_newProject, m_quit})
        b->setAccessibleName(b->text());
    rebuildStatusRows();
}

void MenuBarPanel::rebuildStatusRows()
{
    while (QLayoutItem* item = m_statusRows->takeAt(0)) {
        if (QLayout* row = item->layout()) {
            while (QLayoutItem* child = row->takeAt(0)) {
                delete child->widget();
                delete child;
            }
        }
        delete item;
    }
    const QVector<Project> year = m_store.yearProjects();
    const QFont medium = Theme::font(12, QFont::Medium);
    const QFont bold = Theme::font(12, QFont::Bold);
    for (Status status : m_store.data().columnOrder) {
        const int count = int(std::count_if(year.begin(), year.end(),
                                            [status](const Project& p) { return p.status == status; }));
        auto* row = new QHBoxLayout;
        row->setSpacing(8);
        row->addWidget(new ColorDot(Theme::statusDot(status), 8, m_statusCard), 0, Qt::AlignVCenter);
        QLabel* title = TextLabel::make(medium, Theme::ink(), m_statusCard);
        title->setText(m_store.tr(StatusInfo::titleEn(status), StatusInfo::titleTr(status)));
        title->setObjectName(QStringLiteral("panelStatusTitle_") + StatusInfo::rawValue(status));
        QLabel* number = TextLabel::make(medium, Theme::muted(), m_statusCard);
        number->setText(QString::number(count));
        number->setObjectName(QStringLiteral("panelStatusCount_") + StatusInfo::rawValue(status));
        QLabel* sum = TextLabel::make(bold, Theme::ink(), m_statusCard);
        sum->setText(m_store.money(m_store.total(status)));
        sum->setObjectName(QStringLiteral("panelStatusTotal_") + StatusInfo::rawValue(status));
        row->addWidget(title);
        row->addWidget(number);
        row->addStretch(1);
        row->addWidget(sum);
        m_statusRows->addLayout(row);
    }

    const Payments::Overdue overdue = m_store.overdue();
    if (overdue.count > 0) {
        auto* row = new QHBoxLayout;
        row->setSpacing(8);
        auto* clock = new QLabel(m_statusCard);
        clock->setPixmap(
            Icons::pixmap(QStringLiteral("clock"), Theme::rose(), 10, devicePixelRatioF(), QFont::DemiBold));
        clock->setFixedSize(10, 10);
        QLabel* title = TextLabel::make(medium, Theme::rose(), m_statusCard);
        title->setText(m_store.tr(QStringLiteral("Overdue"), QStringLiteral("Gecikmede")));
        title->setObjectName(QStringLiteral("panelOverdueTitle"));
        QLabel* number = TextLabel::make(medium, Theme::muted(), m_statusCard);
        number->setText(QString::number(overdue.count));
        number->setObjectName(QStringLiteral("panelOverdueCount"));
        QLabel* sum = TextLabel::make(bold, Theme::rose(), m_statusCard);
        sum->setText(m_store.money(overdue.amount));
        sum->setObjectName(QStringLiteral("panelOverdueTotal"));
        row->addWidget(clock, 0, Qt::AlignVCenter);
        row->addWidget(title);
        row->addWidget(number);
        row->addStretch(1);
        row->addWidget(sum);
        m_statusRows->addLayout(row);
    }
}

void MenuBarPanel::placeNear(const QRect& anchor)
{
    adjustSize();
    const QPoint at = anchor.isValid() ? anchor.center() : QCursor::pos();
    QScreen* screen = QGuiApplication::screenAt(at);
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    const QRect area = screen ? screen->availableGeometry() : QRect(0, 0, 1920, 1080);
    QRect r(QPoint(), size());
    const QRect a = anchor.isValid() ? anchor : QRect(at, QSize(1, 1));
    m_anchor = a;
    // Below the icon when there is room (a tray at the top), otherwise above it.
    if (a.bottom() + 4 + r.height() <= area.bottom())
        r.moveTop(a.bottom() + 4);
    else
        r.moveBottom(a.top() - 4);
    r.moveLeft(a.center().x() - r.width() / 2);
    r.moveLeft(qBound(area.left(), r.left(), area.right() - r.width() + 1));
    r.moveTop(qBound(area.top(), r.top(), area.bottom() - r.height() + 1));
    move(r.topLeft());
}

void MenuBarPanel::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    m_shown.start();
    // A pop-up takes no window focus a screen reader would follow: it says what it shows.
    m_announcer->say(
        QStringLiteral("Tallybrook: %1, %2").arg(m_earnedLabel->sourceText(), m_amount->accessibleName()));
}

void MenuBarPanel::mousePressEvent(QMouseEvent* event)
{
    // The second click of a double click on the tray icon arrives here as a click outside the
    // pop-up the first one opened; it must not close it again.
    const bool outside = !rect().contains(event->position().toPoint());
    if (outside && m_anchor.contains(event->globalPosition().toPoint()) && m_shown.isValid() &&
        m_shown.elapsed() < QApplication::doubleClickInterval()) {
        event->accept();
        return;
    }
    QWidget::mousePressEvent(event);
}

void MenuBarPanel::hideEvent(QHideEvent* event)
{
    QWidget::hideEvent(event);
    emit closed();
}

void MenuBarPanel::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), Theme::cream());
    p.setPen(Theme::border());
    p.drawRect(rect().adjusted(0, 0, -1, -1));
}

void MenuBarPanel::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}
