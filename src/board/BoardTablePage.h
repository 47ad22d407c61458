#pragma once

class QWidget;
class Store;

// The board's table presentation, shown instead of the columns when the layout is "table".
// BoardView asks for a new one each time the table layout is chosen.
namespace BoardTablePage {
QWidget* create(Store& store, QWidget* parent);
}
