#pragma once

#include "app/cli/Cli.h"

#include <string>

class CAreaLock;
class CDWConfig;
namespace CLI {
class Validator;
}

// The check of every --config-area option: a mistyped area is a wrong command line, not
// a new empty area ("The configuration area DIR does not exist").
const CLI::Validator& ExistingConfigArea();

// Takes the lock of the configuration's area into *lock, for a command that uses the
// temporary area or writes the library or players file. A configured area (not one
// given with --config-area) is created first, as saving would create it. Prints the
// failure and sets the exit status; false when another run holds the area.
bool LockConfigArea(CliContext& context, CDWConfig& config, CAreaLock& lock);

// Loads the players and library files of the configured area, or of `area` when it is
// given (the --config-area option). With a lock, the area's lock is taken first and kept
// in *lock, so that the files are read, changed and written by one run at a time.
// Warnings and the failure go to the error stream and set the exit status; false when
// a file failed or the lock could not be had.
bool LoadModel(CliContext& context, CDWConfig& config, const std::string& area, CAreaLock* lock = nullptr);
