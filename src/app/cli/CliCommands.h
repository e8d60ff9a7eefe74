#pragma once

#include "app/cli/Cli.h"

#include <vector>

// The registrars of every subcommand, in the order --help lists them.
const std::vector<CliRegistrar>& CliCommandRegistrars();
