#include "board/BoardTablePage.h"

#include <QWidget>

namespace BoardTablePage {

QWidget* create(Store* store, QWidget* parent)
{
    // The project table goes here: `return new ProjectTable(store, parent);`.
    Q_UNUSED(store);
    auto* placeholder = new QWidget(parent);
    placeholder->setObjectName(QStringLiteral("projectTable"));
    placeholder->setMinimumHeight(200);
    return placeholder;
}

} // namespace BoardTablePage
