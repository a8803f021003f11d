#pragma once
// The command groups of quillon-cli, one function per area.
#include "app/cli/CliRun.h"

#include <vector>

namespace quillon::cli {

std::vector<CliCommand> InfoCommands();
std::vector<CliCommand> SitesCommands();

}  // namespace quillon::cli
