#pragma once

#include "app/cli/Cli.h"

#include <string>

class CDWConfig;

// Loads the players and library files of the configured area, or of `area` when it is
// given (the --config-area option). Warnings and the failure go to the error stream and
// set the exit status; false when a file failed.
bool LoadModel(CliContext& context, CDWConfig& config, const std::string& area);
