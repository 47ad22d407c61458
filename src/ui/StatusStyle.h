#pragma once

#include "model/Status.h"
#include "model/StoreTypes.h"

#include <QColor>
#include <QString>

// How a status is presented on the board and in the table: its titles and its four colours.
namespace StatusStyle {
// "PAID" / "ÖDENDİ" and so on.
QString upperTitle(Status status, AppLanguage language);
// "Paid" / "Ödendi" and so on (menus).
QString title(Status status, AppLanguage language);
QColor dot(Status status);
QColor strong(Status status);
QColor text(Status status);
QColor tint(Status status);
} // namespace StatusStyle
