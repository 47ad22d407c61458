#include "window/MainWindowPages.h"

#include "board/BoardView.h"
#include "settings/SettingsView.h"
#include "stats/StatsView.h"

#include <QWidget>

namespace MainWindowPages {

QWidget* standard(MainTab tab, Store& store, QWidget* parent)
{
    switch (tab) {
    case MainTab::board:
        return new BoardView(store, parent);
    case MainTab::stats:
        return new StatsView(store, parent);
    case MainTab::settings:
        return new SettingsView(store, parent);
    }
    return emptyPage(tab, parent);
}

QWidget* emptyPage(MainTab tab, QWidget* parent)
{
    auto* page = new QWidget(parent);
    page->setObjectName(QStringLiteral("page_") + MainTabInfo::rawValue(tab));
    return page;
}

} // namespace MainWindowPages
