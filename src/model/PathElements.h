#pragma once

// CSF paths as players, lists and hard button definitions keep them: owned copies, and
// "CSFPath" child elements whose attribute "Name" gives the path's role in its owner
// ("JumpPanel", "ButtonAlias", "NumberButton", ...).

#include "core/ErrorRecord.h"
#include "core/XmlWriter.h"
#include "csf/CSFPath.h"

#include <libxml/tree.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>

// An owned copy of path (names and matches); null for none.
template <class TPath> std::unique_ptr<TPath> CopyPath(const TPath* path)
{
    return path ? std::make_unique<TPath>(*path) : nullptr;
}

// Writes path as its "CSFPath" element with the "Name" role and, when given, a "Number".
template <class TPath>
void WritePathElement(CXmlWriter& writer, const TPath& path, const char* role,
                      std::optional<long> number = std::nullopt)
{
    StartElementLike(writer, path);
    writer.Attribute("Name", role);
    if (number)
        writer.IntAttribute("Number", *number);
    writer.EndElement();
}

// Receives a path that was read, with its role and its element; false when the owner
// could not take it (the reason recorded).
using CPanelPathSink = std::function<bool(const std::string& role, std::unique_ptr<CCSFPanelPath> path)>;
using CButtonPathSink = std::function<bool(const std::string& role, const xmlNode* element,
                                           std::unique_ptr<CCSFButtonPath> path)>;

// Reads every "CSFPath" child of element that has both a "Type" and a "Name": "Panel"
// paths go to takePanel, "Button" paths to takeButton, other types are passed over.
// A path that cannot be read or taken is recorded and the rest is still read; the
// result is false when that happened at least once.
bool ReadPathElements(CErrorRecord* errors, const xmlNode* element, const CPanelPathSink& takePanel,
                      const CButtonPathSink& takeButton);
