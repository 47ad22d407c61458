#pragma once

#include <optional>

// The options that do their work without a window: --help, --backup-now, --list-backups. They
// never write the data file, so they are safe while the program runs.
namespace CommandLine {

// The exit code when an option was handled; nothing when the program should start as usual.
std::optional<int> run(int argc, char** argv);

} // namespace CommandLine
