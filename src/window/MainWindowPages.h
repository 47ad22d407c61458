#pragma once

#include "model/StoreTypes.h"

#include <functional>

class QWidget;
class Store;

// Which widget the main window shows for each tab. The window asks once per tab and keeps the
// page; a page reads and observes the Store it is given.
//
// To plug a page in, construct it in standard() below, e.g. `return new BoardView(store, parent);`.
// Pages are expected to take (Store&, QWidget* parent), size themselves by their layout and grow
// downwards: the window puts them in its scroll area with the page padding around them.
namespace MainWindowPages {
using Factory = std::function<QWidget*(MainTab tab, Store& store, QWidget* parent)>;

QWidget* standard(MainTab tab, Store& store, QWidget* parent);
// The stand-in for a page that has not been built yet.
QWidget* emptyPage(MainTab tab, QWidget* parent);
} // namespace MainWindowPages
