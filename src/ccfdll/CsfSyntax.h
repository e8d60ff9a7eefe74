#pragma once

// The lexical layer of the codec's CSF dialect (docs/csf.md), shared by the decompiler
// (CsfWriter) and the compiler (CsfReader):
//   - the statement tree: one statement per line, a block opened by a line that begins
//     with "{" directly after its statement and closed by a line that begins with "}";
//     blank lines and lines beginning with "//" are dropped, as the program's own reader
//     drops them;
//   - one statement split into its keyword and arguments;
//   - the escaping of names, numbers, colour and key names.
//
// Everything here reads untrusted text: lines, nesting and arguments are bounded, and a
// failure names the line and the reason.

#include "ccfdll/CcfError.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Deepest block nesting accepted (root, device, panel, up to 64 frames, button, action).
constexpr int kCsfMaxDepth = 80;

struct CCsfStatement
{
    std::string_view text; // trimmed line; points into the text given to ParseCsfStatements
    std::uint32_t line = 0;
    bool hasBlock = false;
    std::vector<CCsfStatement> children;
};

// Reads the whole text into `root` (the first statement with its block). Text after the
// root's block is refused, as are unclosed blocks and a "{" where a statement is expected.
// `root` points into `text`, which must outlive it.
bool ParseCsfStatements(std::string_view text, CCsfStatement& root, CCcfError* error);

// One argument of a statement: a quoted text (without its quotes) or a bare word.
struct CCsfArg
{
    bool quoted = false;
    std::string_view text;
};

struct CCsfCall
{
    std::string_view keyword;
    std::vector<CCsfArg> args;
};

// Splits "Keyword(arg, \"text\", ...)" followed by an optional ";" and optional comments
// ("/* ... */", "// ..."). A quoted argument runs to the next double quote (escaped names
// never hold one). False with a reason for anything else.
bool SplitCsfCall(std::string_view text, CCsfCall& call, std::string& reason);

// Names: every byte outside printable ASCII and the four characters '"', '/', '\\' and
// '_' become "\x" and two lower-case hex digits; unescaping turns "\x"/"\X" with two hex
// digits back into the byte and copies everything else.
std::string CsfEscape(std::string_view bytes);
std::string CsfUnescape(std::string_view escaped);
void CsfAppendEscaped(std::string& out, std::string_view bytes);

// The escaped text that stands for a string of length zero (an empty quoted text "" means
// "no string"): a backslash never followed by "x" cannot come out of CsfEscape.
constexpr std::string_view kCsfEmptyStringMark = "\\e";

// Numbers: decimal, or hexadecimal with "0x"; optional sign for the signed forms.
bool CsfParseUnsigned(std::string_view text, std::uint64_t max, std::uint64_t& value);
bool CsfParseSigned(std::string_view text, std::int64_t min, std::int64_t max, std::int64_t& value);

// Grey levels 0..3 as "Black", "DarkGray", "LightGray", "White" (reading also takes
// "DarkGrey", "LightGrey" and the digits 0..3, letter case ignored).
const char* CsfLevelName(std::uint8_t level);
bool CsfParseLevel(std::string_view text, std::uint8_t& level);

// Hard keys in file order (the key index of alias-key actions): "Left", "Right", "Vol-",
// "Vol+", "Chan-", "Chan+", "Mute", and the colour remotes' outer keys "FarLeft",
// "FarRight".
const char* CsfKeyName(unsigned index);
int CsfFindKey(std::string_view name); // -1 when not a key name (letter case ignored)

// Raw bytes as upper-case hex, and back (white space between digit pairs allowed).
void CsfAppendHex(std::string& out, const std::uint8_t* data, std::size_t size, bool groupWords);
bool CsfParseHex(std::string_view text, std::vector<std::uint8_t>& bytes);

bool CsfEqualsNoCase(std::string_view a, std::string_view b);
