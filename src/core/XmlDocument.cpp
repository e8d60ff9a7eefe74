#include "core/XmlDocument.h"

#include "core/AtomicFile.h"
#include "core/PathUtil.h"
#include "core/RegularFile.h"

#include <libxml/xmlerror.h>
#include <libxml/xmlmemory.h>
#include <libxml/xmlsave.h>

#include <cerrno>
#include <climits>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <unistd.h>

namespace {

std::mutex g_xmlMutex;
bool g_bXmlInitialised = false;
std::vector<std::string>* g_pDiagnostics = nullptr; // exists between init and clean-up

char* DuplicateString(const char* text)
{
    return strdup(text);
}

// Points libxml2's error output of the calling thread at the collector; libxml2 keeps
// the handler per thread, and loads run on worker threads.
void RouteXmlErrorsOfThisThread()
{
    xmlSetGenericErrorFunc(nullptr, CollectXmlDiagnostic);
    xmlSetStructuredErrorFunc(nullptr, nullptr);
}

void MoveDiagnosticsToWarnings(CWarningList* warnings)
{
    std::lock_guard<std::mutex> lock(g_xmlMutex);
    if (!g_pDiagnostics)
        return;
    if (warnings)
        warnings->insert(warnings->end(), g_pDiagnostics->begin(), g_pDiagnostics->end());
    g_pDiagnostics->clear();
}

CXmlDocPtr FinishParse(xmlDoc* doc, const char* path, CErrorRecord* errors, CWarningList* warnings)
{
    if (!doc) {
        SetMessage(errors, "Error reading and parsing %s", path);
        MoveDiagnosticsToWarnings(warnings);
        return nullptr;
    }
    return CXmlDocPtr(doc);
}

void RecordFrom(CErrorRecord* errors, const CErrorRecord& detail, const char* format, const char* path)
{
    if (detail.GetCode() != 0)
        SetSystemErrorCode(errors, static_cast<int>(detail.GetCode()), format, path);
    else if (!detail.GetMessage().empty())
        SetMessage(errors, "%s", detail.GetMessage().c_str()); // a refusal that names the file itself
    else
        SetMessage(errors, format, path);
}

} // namespace

void InitXmlLibrary()
{
    std::lock_guard<std::mutex> lock(g_xmlMutex);
    if (g_bXmlInitialised)
        return;
    xmlMemSetup(free, malloc, realloc, DuplicateString);
    xmlInitParser();
    // Both the calling thread's setting and the default for threads started later.
    xmlKeepBlanksDefault(0);
    xmlThrDefKeepBlanksDefaultValue(0);
    xmlThrDefIndentTreeOutput(1);
    xmlSetGenericErrorFunc(nullptr, CollectXmlDiagnostic);
    xmlThrDefSetGenericErrorFunc(nullptr, CollectXmlDiagnostic);
    if (!g_pDiagnostics)
        g_pDiagnostics = new std::vector<std::string>();
    g_bXmlInitialised = true;
}

void CleanupXmlLibrary()
{
    std::lock_guard<std::mutex> lock(g_xmlMutex);
    if (!g_bXmlInitialised)
        return;
    xmlCleanupParser();
    delete g_pDiagnostics;
    g_pDiagnostics = nullptr;
    g_bXmlInitialised = false;
}

void ClearXmlDiagnostics()
{
    std::lock_guard<std::mutex> lock(g_xmlMutex);
    if (g_pDiagnostics)
        g_pDiagnostics->clear();
}

std::vector<std::string> GetXmlDiagnostics()
{
    std::lock_guard<std::mutex> lock(g_xmlMutex);
    return g_pDiagnostics ? *g_pDiagnostics : std::vector<std::string>();
}

void CollectXmlDiagnostic(void* /*context*/, const char* format, ...)
{
    if (!format)
        return;
    char buffer[kErrorTextSize];
    va_list args;
    va_start(args, format);
    int n = vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    if (n < 0)
        buffer[0] = '\0';

    std::lock_guard<std::mutex> lock(g_xmlMutex);
    if (!g_pDiagnostics)
        return;
    std::vector<std::string>& list = *g_pDiagnostics;
    // The last entry is the unfinished line this fragment continues.
    std::string text;
    if (!list.empty()) {
        text = std::move(list.back());
        list.pop_back();
    }
    text += buffer;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n' || text[i] == '\r') {
            list.push_back(text.substr(start, i - start));
            start = i + 1;
        }
    }
    list.push_back(text.substr(start));
}

bool XmlFileExists(const char* path)
{
    return path && access(path, F_OK) == 0;
}

CXmlDocPtr ParseXmlFile(const char* path, CErrorRecord* errors, CWarningList* warnings)
{
    InitXmlLibrary();
    ClearXmlDiagnostics();
    RouteXmlErrorsOfThisThread();
    // Opened by us, so that a FIFO or a device is refused instead of read for ever. A
    // file that cannot be opened at all is left to libxml2 and its usual message.
    int fd = OpenRegularFileForReading(path, errors);
    if (fd < 0) {
        if (HasError(errors))
            return nullptr;
        return FinishParse(xmlReadFile(path, nullptr, kXmlParseOptions), path, errors, warnings);
    }
    xmlDoc* doc = xmlReadFd(fd, path, nullptr, kXmlParseOptions);
    ::close(fd);
    return FinishParse(doc, path, errors, warnings);
}

CXmlDocPtr ParseXmlMemory(const char* data, std::size_t size, const char* displayPath, CErrorRecord* errors,
                          CWarningList* warnings)
{
    InitXmlLibrary();
    ClearXmlDiagnostics();
    RouteXmlErrorsOfThisThread();
    if (size > static_cast<std::size_t>(INT_MAX)) {
        SetMessage(errors, "Error reading and parsing %s", displayPath);
        return nullptr;
    }
    xmlDoc* doc = xmlReadMemory(data, static_cast<int>(size), displayPath, nullptr, kXmlParseOptions);
    return FinishParse(doc, displayPath, errors, warnings);
}

xmlNode* CheckXmlFrame(xmlDoc* doc, const char* path, const char* rootName, CErrorRecord* errors,
                       CWarningList* warnings)
{
    xmlNode* root = doc ? xmlDocGetRootElement(doc) : nullptr;
    if (!root || !root->name || !root->name[0]) {
        SetMessage(errors, "Empty document: %s", path);
        return nullptr;
    }
    const char* found = reinterpret_cast<const char*>(root->name);
    if (std::strcmp(found, rootName) != 0) {
        SetMessage(errors, "Expected root node \"%s\" but document \"%s\" has root node \"%s\".", rootName,
                   path, found);
        return nullptr;
    }
    int version = 0;
    GetXmlIntAttribute(root, "Version", version);
    if (version > kXmlDocumentVersion) {
        AddWarning(warnings, "Warning: document saved by a newer version of Discweaver.");
        AddWarning(warnings, "Document = %s", path);
        AddWarning(warnings, "Document version = %d ; Fully supported version = %d", version,
                   kXmlDocumentVersion);
        AddWarning(warnings, "%s", "");
    } else if (version == 0) {
        AddWarning(warnings, "Warning: document has no version.");
        AddWarning(warnings, "Document = %s", path);
        AddWarning(warnings, "%s", "");
    }
    return root;
}

CXmlDocPtr NewXmlDocument(const char* rootName, xmlNode** root, CErrorRecord* errors)
{
    InitXmlLibrary();
    CXmlDocPtr doc(xmlNewDoc(BAD_CAST "1.0"));
    xmlNode* node = doc ? xmlNewDocNode(doc.get(), nullptr, BAD_CAST rootName, nullptr) : nullptr;
    if (!node) {
        SetMessage(errors, "Failed to create XML document");
        return nullptr;
    }
    xmlDocSetRootElement(doc.get(), node);
    if (!SetXmlIntAttribute(node, "Version", kXmlDocumentVersion)) {
        SetMessage(errors, "Failed to create XML document");
        return nullptr;
    }
    if (root)
        *root = node;
    return doc;
}

namespace {

// Creates the directory, opens the atomic file, lets `write` fill it and commits,
// with the messages of the document saves.
template <class TWrite> bool SaveThroughAtomicFile(const char* path, CErrorRecord* errors, TWrite write)
{
    std::string dir = GetParentPath(path).value_or(std::string());
    if (!dir.empty() && !CreateDirectoryPath(dir.c_str())) {
        SetSystemError(errors, "Error creating %s", dir.c_str());
        return false;
    }
    CAtomicFile file;
    CErrorRecord detail;
    if (!file.Open(path, &detail)) {
        RecordFrom(errors, detail, "Error writing to %s", path);
        return false;
    }
    if (!write(file, detail)) {
        file.Abort();
        RecordFrom(errors, detail, "Error saving to %s", path);
        return false;
    }
    if (!file.Commit(&detail)) {
        RecordFrom(errors, detail, "Error saving to %s", path);
        return false;
    }
    return true;
}

} // namespace

bool SaveXmlDocument(xmlDoc* doc, const char* path, CErrorRecord* errors)
{
    InitXmlLibrary();
    return SaveThroughAtomicFile(path, errors, [doc](CAtomicFile& file, CErrorRecord&) {
        return xmlDocFormatDump(file.GetFile(), doc, 1) >= 0;
    });
}

bool SaveXmlText(const std::string& text, const char* path, CErrorRecord* errors)
{
    return SaveThroughAtomicFile(
        path, errors, [&text](CAtomicFile& file, CErrorRecord& detail) { return file.Write(text, &detail); });
}

bool IsXmlElement(const xmlNode* node, const char* name)
{
    return node && node->type == XML_ELEMENT_NODE && node->name &&
           std::strcmp(reinterpret_cast<const char*>(node->name), name) == 0;
}

namespace {
const xmlNode* SkipToElement(const xmlNode* node)
{
    while (node && !(node->type == XML_ELEMENT_NODE && node->name))
        node = node->next;
    return node;
}
} // namespace

xmlNode* FirstXmlChildElement(const xmlNode* parent)
{
    return parent ? const_cast<xmlNode*>(SkipToElement(parent->children)) : nullptr;
}

xmlNode* NextXmlSiblingElement(const xmlNode* node)
{
    return node ? const_cast<xmlNode*>(SkipToElement(node->next)) : nullptr;
}

bool GetXmlAttribute(const xmlNode* node, const char* name, std::string& value)
{
    if (!node || node->type != XML_ELEMENT_NODE)
        return false;
    for (const xmlAttr* attr = node->properties; attr; attr = attr->next) {
        if (!attr->name || std::strcmp(reinterpret_cast<const char*>(attr->name), name) != 0 || attr->ns)
            continue;
        value.clear();
        // Only text: an entity reference is never expanded (no amplification).
        for (const xmlNode* child = attr->children; child; child = child->next) {
            if (child->type == XML_TEXT_NODE && child->content)
                value += reinterpret_cast<const char*>(child->content);
        }
        return true;
    }
    return false;
}

int XmlTextToInt(const char* text)
{
    if (!text)
        return 0;
    const char* p = text;
    while (*p == ' ' || *p == '\t' || *p == '\n' || *p == '\r' || *p == '\v' || *p == '\f')
        ++p;
    bool negative = false;
    if (*p == '+' || *p == '-')
        negative = *p++ == '-';
    long long value = 0;
    while (*p >= '0' && *p <= '9') {
        value = value * 10 + (*p - '0');
        if (value > static_cast<long long>(INT_MAX) + 1)
            value = static_cast<long long>(INT_MAX) + 1;
        ++p;
    }
    if (negative)
        value = -value;
    if (value > INT_MAX)
        value = INT_MAX;
    return static_cast<int>(value);
}

bool GetXmlIntAttribute(const xmlNode* node, const char* name, int& value)
{
    std::string text;
    if (!GetXmlAttribute(node, name, text))
        return false;
    value = XmlTextToInt(text.c_str());
    return true;
}

xmlNode* AddXmlChild(xmlNode* parent, const char* name)
{
    return parent ? xmlNewChild(parent, nullptr, BAD_CAST name, nullptr) : nullptr;
}

bool SetXmlAttribute(xmlNode* node, const char* name, const char* value)
{
    return node && xmlNewProp(node, BAD_CAST name, BAD_CAST(value ? value : "")) != nullptr;
}

bool SetXmlIntAttribute(xmlNode* node, const char* name, long value)
{
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%ld", value);
    return SetXmlAttribute(node, name, buffer);
}

bool SetXmlBoolAttribute(xmlNode* node, const char* name, bool value)
{
    return SetXmlAttribute(node, name, value ? "1" : "0");
}
