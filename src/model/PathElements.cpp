#include "model/PathElements.h"

#include "core/XmlDocument.h"

bool ReadPathElements(CErrorRecord* errors, const xmlNode* element, const CPanelPathSink& takePanel,
                      const CButtonPathSink& takeButton)
{
    bool ok = true;
    std::string type, role;
    for (const xmlNode* child = FirstXmlChildElement(element); child; child = NextXmlSiblingElement(child)) {
        if (!IsXmlElement(child, "CSFPath") || !GetXmlAttribute(child, "Type", type) ||
            !GetXmlAttribute(child, "Name", role))
            continue;
        // The path readers take a mutable node but only read it.
        xmlNode* node = const_cast<xmlNode*>(child);
        if (type == "Panel") {
            auto path = std::make_unique<CCSFPanelPath>();
            if (!path->ReadXml(errors, node) || !takePanel(role, std::move(path)))
                ok = false;
        } else if (type == "Button") {
            auto path = std::make_unique<CCSFButtonPath>();
            if (!path->ReadXml(errors, node) || !takeButton(role, child, std::move(path)))
                ok = false;
        }
    }
    return ok;
}
