// The zed piece subcommands.
#ifndef ZED_PIECE_PIECE_COMMANDS_H
#define ZED_PIECE_PIECE_COMMANDS_H

#include <CLI/CLI.hpp>

namespace zedpiece {

/// Adds "piece" with info, convert and svg to the tool's command line.
void AddPieceCommands(CLI::App& app);

}  // namespace zedpiece

#endif
