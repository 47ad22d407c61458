#include "board/BoardTablePage.h"

#include "board/ProjectTable.h"

namespace BoardTablePage {

QWidget* create(Store& store, QWidget* parent)
{
    return new ProjectTable(store, parent);
}

} // namespace BoardTablePage
