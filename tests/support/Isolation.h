#pragma once

#include <QFlags>
#include <QTemporaryDir>

// The isolated environment of the tests, the benchmarks and the snapshot tools: data,
// preferences, cache and runtime folders of their own in a throwaway folder, the exchange
// rate at a closed port so nothing reaches the network, and for the tests a fixed locale.
// QtCore only, so the core's tests and benchmarks use it without the widgets.
namespace Isolation {

// The exchange-rate address that nothing answers (port 9, discard, on the loopback).
inline constexpr char kDeadRateUrl[] = "http://127.0.0.1:9/v6/latest/USD";

// What a program needs beyond the private folders and the closed network.
enum class Extra {
    // TZ=Europe/Istanbul unless TZ is set: a zone with a daylight-saving history.
    fixedZone = 0x1,
    // QT_QPA_PLATFORM=offscreen unless a platform is set.
    offscreen = 0x2,
};
Q_DECLARE_FLAGS(Extras, Extra)

// Call before the application object exists. Points XDG_DATA_HOME, XDG_CONFIG_HOME,
// XDG_CACHE_HOME and XDG_RUNTIME_DIR (mode 0700) into home(), and TALLYBROOK_RATE_URL at
// kDeadRateUrl unless the environment names another address (a test's local server).
// Returns false, with the reason on stderr, when the folders cannot be made.
bool isolate(Extras extras = {});

// This process's throwaway folder, made at the first call and removed at exit.
const QTemporaryDir& home();

// The tests' locale. Call after the application object exists, which has set the C library's
// locale from the environment. A run under a system locale (TB_SYSTEM_LOCALE) keeps that locale
// for Qt too and stops at once if the C library could not load it: a silent fall-back to "C"
// would hide exactly the faults those runs are for. Other runs format as en_US.
void fixLocale();
// Undoes a test's own QLocale::setDefault.
void restoreLocale();
// True in a run under a system locale (name@de_DE.UTF-8, ...).
bool systemLocaleRun();

} // namespace Isolation

Q_DECLARE_OPERATORS_FOR_FLAGS(Isolation::Extras)
