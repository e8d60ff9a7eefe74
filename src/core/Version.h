#pragma once

// The program's version as compiled in by the build: "major.minor.patch.tweak".
const char* DwVersionText();
