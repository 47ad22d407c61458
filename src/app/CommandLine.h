#pragma once

#include <optional>

class QString;

// The options that do their work without a window: --help, --backup-now, --list-backups,
// --export-report FILE [--year YYYY], --export-csv FILE [--year YYYY]. They never write the data file, so
// they are safe while the program runs. --data-folder DIR names the data folder for this run only, for them
// and for a normal start.
namespace CommandLine {

// The exit code when an option was handled or the arguments cannot be used; nothing when the
// program should start as usual, with `dataFolder` set when --data-folder named one (absolute,
// made when missing and checked to take a file).
std::optional<int> run(int argc, char** argv, QString* dataFolder = nullptr);

} // namespace CommandLine
