#pragma once

// Plain-text listings of the model for the command line and for reports: the library
// tree as the editor's tree shows it (each node's display text, indented by level),
// and the players with their settings and mapped buttons. Names are printed with their
// control bytes escaped (EscapeControlBytes), line breaks included, so one name stays
// on one line.

#include "model/Library.h"
#include "model/Player.h"

#include <ostream>
#include <string>

// "Lists", then each list, artist and disc on its own line, two spaces deeper per level.
void PrintLibraryTree(std::ostream& out, const CLibrary& library);

// Each player's name, settings, jump panel and mapped button roles (in the editor's
// row order: "Number 0" to "Number 9", then the six other roles); "No players." when
// there are none.
void PrintPlayers(std::ostream& out, const CPlayers& players);

// A path as the player editor's row shows it: device, panel ("Hard Buttons" for a hard
// button) and button, plain names joined by ", ".
std::string DescribeButtonRow(const CCSFButtonPath& path);
