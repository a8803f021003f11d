#pragma once
// The command groups of quillon-cli, one function per area.
#include "app/cli/CliRun.h"

#include <vector>

namespace quillon::cli {

std::vector<CliCommand> InfoCommands();
std::vector<CliCommand> SystemCommands();
std::vector<CliCommand> LookupCommands();
std::vector<CliCommand> ListCommands();
std::vector<CliCommand> GameCommands();
std::vector<CliCommand> ScanCommands();
std::vector<CliCommand> NamesCommands();
std::vector<CliCommand> SitesCommands();
std::vector<CliCommand> ImagesCommands();
std::vector<CliCommand> MameCommands();
std::vector<CliCommand> IdentifyCommands();
std::vector<CliCommand> ExportCommands();
std::vector<CliCommand> FrontendCommands();

}  // namespace quillon::cli
