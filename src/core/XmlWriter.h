#pragma once

// A streaming XML writer for the program's own files. It produces exactly what
// libxml2's indented dump (xmlDocFormatDump) makes of the same tree: the declaration
// <?xml version="1.0"?>, one element per line indented by two spaces per level, empty
// elements as <Name .../>, attribute values with &, <, >, " and the line-break and tab
// characters escaped. Writing straight to text saves building a libxml2 tree first,
// which makes saving a large library several times faster.
//
// Values are written byte for byte apart from that escaping. The files hold only
// CSF-escaped names and numbers, which are printable ASCII; callers must not pass other
// bytes.

#include <libxml/tree.h>

#include <string>
#include <vector>

class CXmlWriter
{
public:
    CXmlWriter();
    CXmlWriter(const CXmlWriter&) = delete;
    CXmlWriter& operator=(const CXmlWriter&) = delete;
    virtual ~CXmlWriter();

    // Opens a child of the innermost open element (or the root).
    void StartElement(const char* name);
    // Attributes of the element just started, before any child is started.
    void Attribute(const char* name, const char* value);
    void IntAttribute(const char* name, long value);
    void BoolAttribute(const char* name, bool value);
    // Copies every attribute of a libxml2 element, in order (for elements whose
    // owners write them as trees, such as CSF paths).
    void CopyAttributes(const xmlNode* element);
    void EndElement();

    // A parent for elements built as trees only to be copied with CopyAttributes; the
    // writer owns it (children are the caller's to unlink and free).
    xmlNode* GetScratchParent();

    // The document so far; complete once every element has been ended.
    const std::string& GetText() const { return m_text; }
    std::size_t GetDepth() const { return m_open.size(); }

private:
    void Indent(std::size_t depth);
    void AppendEscaped(const char* value);

    std::string m_text;
    std::vector<std::string> m_open; // names of the open elements
    bool m_bStartTagOpen = false;    // the innermost start tag still lacks its ">"
    xmlNode* m_pScratch = nullptr;
};

// Starts an element that copies the one `path.WriteXml(parent)` builds.
template <class TPath> void StartElementLike(CXmlWriter& writer, const TPath& path)
{
    xmlNode* element = path.WriteXml(writer.GetScratchParent());
    writer.StartElement(element && element->name ? reinterpret_cast<const char*>(element->name) : "Unnamed");
    writer.CopyAttributes(element);
    if (element) {
        xmlUnlinkNode(element);
        xmlFreeNode(element);
    }
}
