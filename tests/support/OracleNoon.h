#pragma once

#include <QDateTime>

// The noon of a moment's day as the program worked it out before it asked the C library for
// offsets directly: every offset through Qt's local time. A test oracle only.
namespace Oracle {

QDateTime atNoon(const QDateTime& moment);

} // namespace Oracle
