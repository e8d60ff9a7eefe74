#include "core/XmlWriter.h"

#include <cstdio>

CXmlWriter::CXmlWriter()
{
    m_text.reserve(1 << 16);
    m_text += "<?xml version=\"1.0\"?>\n";
}

CXmlWriter::~CXmlWriter()
{
    if (m_pScratch)
        xmlFreeNode(m_pScratch);
}

void CXmlWriter::Indent(std::size_t depth)
{
    m_text.append(depth * 2, ' ');
}

void CXmlWriter::StartElement(const char* name)
{
    if (m_bStartTagOpen)
        m_text += ">\n";
    Indent(m_open.size());
    m_text += '<';
    m_text += name;
    m_open.emplace_back(name);
    m_bStartTagOpen = true;
}

void CXmlWriter::AppendEscaped(const char* value)
{
    const char* run = value;
    const char* p = value;
    for (; *p; ++p) {
        const char* entity;
        switch (*p) {
        case '&':
            entity = "&amp;";
            break;
        case '<':
            entity = "&lt;";
            break;
        case '>':
            entity = "&gt;";
            break;
        case '"':
            entity = "&quot;";
            break;
        case '\n':
            entity = "&#10;";
            break;
        case '\r':
            entity = "&#13;";
            break;
        case '\t':
            entity = "&#9;";
            break;
        default:
            continue;
        }
        m_text.append(run, static_cast<std::size_t>(p - run));
        m_text += entity;
        run = p + 1;
    }
    m_text.append(run, static_cast<std::size_t>(p - run));
}

void CXmlWriter::Attribute(const char* name, const char* value)
{
    m_text += ' ';
    m_text += name;
    m_text += "=\"";
    AppendEscaped(value ? value : "");
    m_text += '"';
}

void CXmlWriter::IntAttribute(const char* name, long value)
{
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%ld", value);
    Attribute(name, buffer);
}

void CXmlWriter::BoolAttribute(const char* name, bool value)
{
    Attribute(name, value ? "1" : "0");
}

void CXmlWriter::CopyAttributes(const xmlNode* element)
{
    if (!element)
        return;
    std::string value;
    for (const xmlAttr* attr = element->properties; attr; attr = attr->next) {
        value.clear();
        for (const xmlNode* child = attr->children; child; child = child->next) {
            if (child->type == XML_TEXT_NODE && child->content)
                value += reinterpret_cast<const char*>(child->content);
        }
        Attribute(reinterpret_cast<const char*>(attr->name), value.c_str());
    }
}

void CXmlWriter::EndElement()
{
    if (m_open.empty())
        return;
    if (m_bStartTagOpen) {
        m_text += "/>\n";
    } else {
        Indent(m_open.size() - 1);
        m_text += "</";
        m_text += m_open.back();
        m_text += ">\n";
    }
    m_open.pop_back();
    m_bStartTagOpen = false;
}

xmlNode* CXmlWriter::GetScratchParent()
{
    if (!m_pScratch)
        m_pScratch = xmlNewNode(nullptr, BAD_CAST "Scratch");
    return m_pScratch;
}
