#include "ui/TrayHost.h"

#include <QCoreApplication>
#include <QSystemTrayIcon>

namespace {
std::optional<bool> g_forTesting;
}

TrayHost::TrayHost() : QObject(QCoreApplication::instance())
{
    m_last = available();
    m_poll.setInterval(1000);
    connect(&m_poll, &QTimer::timeout, this, &TrayHost::recheck);
}

TrayHost* TrayHost::instance()
{
    static TrayHost* host = new TrayHost;
    return host;
}

bool TrayHost::available()
{
    return g_forTesting.value_or(QSystemTrayIcon::isSystemTrayAvailable());
}

void TrayHost::setAvailableForTesting(std::optional<bool> available)
{
    g_forTesting = available;
    instance()->recheck();
}

void TrayHost::watch()
{
    if (!m_poll.isActive())
        m_poll.start();
}

void TrayHost::recheck()
{
    const bool now = available();
    if (now == m_last)
        return;
    m_last = now;
    emit availabilityChanged(now);
}
