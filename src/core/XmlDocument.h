#pragma once

// XML document storage: the libxml2 set-up every XML reader and writer of the program
// relies on, the diagnostics list that turns libxml2's message fragments into lines,
// the frame shared by the players and library files (a root element with a "Version"
// attribute) and small element and attribute helpers.
//
// Reading is hardened for untrusted files: no network access (XML_PARSE_NONET), no
// entity substitution and no DTD loading; attribute values are read from their text
// children only, so an entity reference in an attribute contributes nothing instead of
// being expanded. Blank text nodes are dropped, and saved documents are indented.
//
// Saving goes through CAtomicFile: a failed save leaves the previous file byte for
// byte as it was.

#include "core/ErrorRecord.h"

#include <libxml/parser.h>
#include <libxml/tree.h>

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

// The version the program writes and the highest it fully supports.
constexpr int kXmlDocumentVersion = 1;

// The options of every parse of a file of ours.
constexpr int kXmlParseOptions = XML_PARSE_NOBLANKS | XML_PARSE_NONET;

// Process-wide libxml2 set-up: runtime-library memory functions, parser initialisation,
// blank nodes dropped (and hence indented output, also for threads started later), and
// the generic error handler pointed at the diagnostics collector. Creates the
// diagnostics list. Safe to call more than once; the parse functions below call it.
void InitXmlLibrary();
// Cleans libxml2 up and deletes the diagnostics list (at program end).
void CleanupXmlLibrary();

// The diagnostics list: the lines libxml2 reported since it was last cleared. Messages
// arrive in fragments; fragments without a line break are joined into one line, and
// the last entry is the unfinished line (empty after a complete message).
void ClearXmlDiagnostics();
std::vector<std::string> GetXmlDiagnostics();
// The collector behind libxml2's generic error handler (exposed for tests).
void CollectXmlDiagnostic(void* context, const char* format, ...) DW_PRINTF_FORMAT(2, 3);

struct CXmlDocFree
{
    void operator()(xmlDoc* doc) const { xmlFreeDoc(doc); }
};
// An owned libxml2 document.
using CXmlDocPtr = std::unique_ptr<xmlDoc, CXmlDocFree>;

// True when path names an existing file (a missing file is no error for our loaders).
bool XmlFileExists(const char* path);

// Parses a file with kXmlParseOptions after emptying the diagnostics list. A path that
// is not a regular file (a FIFO, a device, a directory) is refused at once with the
// message of OpenRegularFileForReading. On another failure records "Error reading and
// parsing %s", appends the parser's lines to warnings,
// empties the list and returns null.
CXmlDocPtr ParseXmlFile(const char* path, CErrorRecord* errors, CWarningList* warnings);
// The same over bytes in memory; displayPath names the data in messages.
CXmlDocPtr ParseXmlMemory(const char* data, std::size_t size, const char* displayPath, CErrorRecord* errors,
                          CWarningList* warnings);

// Checks the frame of a parsed document and returns its root element, or null:
// "Empty document: %s" without a named root, "Expected root node \"%s\" but document
// \"%s\" has root node \"%s\"." for another root. Appends the version warnings (newer
// version: four lines; no or unreadable version: three lines; the last line empty).
xmlNode* CheckXmlFrame(xmlDoc* doc, const char* path, const char* rootName, CErrorRecord* errors,
                       CWarningList* warnings);

// A new document (XML "1.0") whose root element rootName carries "Version" = "1".
// Null with "Failed to create XML document" on failure.
CXmlDocPtr NewXmlDocument(const char* rootName, xmlNode** root, CErrorRecord* errors);

// Creates the file's directory when missing ("Error creating %s"), then writes the
// indented document through the atomic-save helper: "Error writing to %s" when the
// file cannot be created, "Error saving to %s" when writing or replacing fails. The
// previous file stays untouched on any failure.
bool SaveXmlDocument(xmlDoc* doc, const char* path, CErrorRecord* errors);
// The same for a document already written as text (CXmlWriter).
bool SaveXmlText(const std::string& text, const char* path, CErrorRecord* errors);

// ---- element and attribute helpers -------------------------------------------------

// True for an element node named exactly `name`.
bool IsXmlElement(const xmlNode* node, const char* name);
// The first child element after `node` (or the first of `parent` with NextXmlChild's
// parent form); blank text, comments and nameless nodes are skipped.
xmlNode* FirstXmlChildElement(const xmlNode* parent);
xmlNode* NextXmlSiblingElement(const xmlNode* node);

// Reads attribute `name` of `node` into value (its text children joined); false when
// the attribute is absent (value then unchanged).
bool GetXmlAttribute(const xmlNode* node, const char* name, std::string& value);
// Reads an attribute as a decimal integer the way atoi would (leading blanks and a sign
// allowed, a text that does not start with a number is 0), limited to the int range.
bool GetXmlIntAttribute(const xmlNode* node, const char* name, int& value);
int XmlTextToInt(const char* text);

// Adds a child element / an attribute (the value is stored literally and escaped on
// output). Null on memory exhaustion.
xmlNode* AddXmlChild(xmlNode* parent, const char* name);
bool SetXmlAttribute(xmlNode* node, const char* name, const char* value);
bool SetXmlIntAttribute(xmlNode* node, const char* name, long value);
bool SetXmlBoolAttribute(xmlNode* node, const char* name, bool value);
