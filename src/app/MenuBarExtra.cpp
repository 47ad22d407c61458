#include "app/MenuBarExtra.h"

#include "app/MenuBarPanel.h"
#include "ui/Icons.h"
#include "ui/Theme.h"
#include "ui/TrayHost.h"

#include <QIcon>
#include <QPainter>
#include <QSystemTrayIcon>

namespace {
// Trays come light and dark: a green disc with a cream note reads on both. Drawn when a tray
// asks for it, so a desktop without one draws nothing.
QIcon makeTrayIcon()
{
    const auto draw = [](int px, QIcon::Mode) {
        QPixmap pm(px, px);
        pm.fill(Qt::transparent);
        QPainter p(&pm);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(Qt::NoPen);
        p.setBrush(Theme::brand());
        p.drawEllipse(QRectF(0.5, 0.5, px - 1, px - 1));
        const int glyph = qRound(px * 0.62);
        const QPixmap note =
            Icons::pixmap(QStringLiteral("banknote"), Theme::cream(), glyph, 1, QFont::DemiBold);
        if (!note.isNull())
            p.drawPixmap(QPointF((px - note.width()) / 2.0, (px - note.height()) / 2.0), note);
        return pm;
    };
    QList<QSize> sizes;
    for (int px : {16, 22, 24, 32, 48, 64})
        sizes.append(QSize(px, px));
    return Icons::onDemand(draw, sizes);
}
} // namespace

MenuBarExtra::MenuBarExtra(Store& store, std::function<void()> showMainWindow, QObject* parent)
    : QObject(parent), m_store(store), m_showMainWindow(std::move(showMainWindow))
{}

MenuBarExtra::~MenuBarExtra()
{
    if (m_panel)
        m_panel->close();
}

bool MenuBarExtra::trayAvailable()
{
    return TrayHost::available();
}

void MenuBarExtra::setTrayAvailableForTesting(std::optional<bool> available)
{
    TrayHost::setAvailableForTesting(available);
}

bool MenuBarExtra::isShowing() const
{
    return m_icon && trayAvailable();
}

void MenuBarExtra::setPresent(bool present)
{
    if (present == isPresent())
        return;
    if (!present) {
        if (m_panel)
            m_panel->close();
        delete m_icon;
        m_icon = nullptr;
        return;
    }
    m_icon = new QSystemTrayIcon(makeTrayIcon(), this);
    m_icon->setObjectName(QStringLiteral("menuBarExtra"));
    m_icon->setToolTip(QStringLiteral("Tallybrook"));
    connect(m_icon, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
        if (reason == QSystemTrayIcon::MiddleClick)
            return;
        // The first click of a double click has already opened the panel, and the second one
        // closed it on its way in as a click outside the popup: the double click wants it open.
        if (reason == QSystemTrayIcon::DoubleClick) {
            if (!m_panel || !m_panel->isVisible())
                openPanel();
            return;
        }
        // A click on the icon while the panel is open closes the popup first; that click only closes.
        if ((m_panel && m_panel->isVisible()) || (m_sinceClose.isValid() && m_sinceClose.elapsed() < 300)) {
            if (m_panel)
                m_panel->close();
            m_sinceClose.invalidate();
            return;
        }
        openPanel();
    });
    if (!m_held)
        m_icon->show();
}

void MenuBarExtra::setHeld(bool held)
{
    m_held = held;
    if (!held && m_icon && !m_icon->isVisible())
        m_icon->show();
}

MenuBarPanel* MenuBarExtra::openPanel()
{
    if (m_panel)
        m_panel->close();
    m_panel = new MenuBarPanel(m_store, m_showMainWindow);
    connect(m_panel, &MenuBarPanel::closed, this, [this] { m_sinceClose.start(); });
    m_panel->placeNear(m_icon ? m_icon->geometry() : QRect());
    m_panel->show();
    m_panel->activateWindow();
    return m_panel;
}
