#pragma once

// An independent writer to hold our own XML output against.

#include "core/XmlDocument.h"

#include <gtest/gtest.h>
#include <libxml/parser.h>

#include <string>

namespace dwtest {

// What libxml2's own indented dump makes of a text after parsing it.
inline std::string LibxmlDump(const std::string& text)
{
    CXmlDocPtr doc(
        xmlReadMemory(text.data(), static_cast<int>(text.size()), "x.xml", nullptr, kXmlParseOptions));
    EXPECT_TRUE(doc);
    if (!doc)
        return std::string();
    xmlChar* out = nullptr;
    int length = 0;
    xmlDocDumpFormatMemory(doc.get(), &out, &length, 1);
    std::string dumped(reinterpret_cast<const char*>(out), static_cast<std::size_t>(length));
    xmlFree(out);
    return dumped;
}

} // namespace dwtest
