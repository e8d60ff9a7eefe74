#include "model/ModelFiles.h"

#include "core/PathUtil.h"
#include "core/XmlDocument.h"

namespace {

constexpr const char* kNullPlayersPath = "Config returns NULL players filename";
constexpr const char* kNullLibraryPath = "Config returns NULL library filenae";

// Visits the root's content elements named contentName with `load`; the first
// failure stops the visit and gets `context` in front of its reason.
template <class TLoad>
bool LoadContent(CErrorRecord* errors, xmlNode* root, const char* contentName, const char* context,
                 TLoad load)
{
    bool wasEmpty = IsEmpty(errors);
    bool ok = true;
    for (xmlNode* child = FirstXmlChildElement(root); child; child = NextXmlSiblingElement(child)) {
        if (IsXmlElement(child, contentName) && !load(child)) {
            ok = false;
            break;
        }
    }
    if (!ok && wasEmpty && HasError(errors))
        AddContext(errors, "%s", context);
    return ok;
}

} // namespace

bool LoadPlayersDocument(CErrorRecord* errors, CWarningList* warnings, CPlayers& players, xmlDoc* doc,
                         const char* path)
{
    xmlNode* root = CheckXmlFrame(doc, path, kPlayersRootName, errors, warnings);
    if (!root)
        return false;
    return LoadContent(errors, root, "Devices", "Error with players file",
                       [&](xmlNode* node) { return ReadPlayersXml(errors, warnings, players, node); });
}

bool LoadLibraryDocument(CErrorRecord* errors, CWarningList* warnings, CLibrary& library, xmlDoc* doc,
                         const char* path)
{
    xmlNode* root = CheckXmlFrame(doc, path, kLibraryRootName, errors, warnings);
    if (!root)
        return false;
    return LoadContent(errors, root, "Library", "Error with library file",
                       [&](xmlNode* node) { return library.ReadXml(errors, warnings, node); });
}

bool LoadPlayersFile(CErrorRecord* errors, CWarningList* warnings, CPlayers& players, const char* path)
{
    players.RemoveAll();
    bool ok = true;
    if (!path) {
        SetMessage(errors, "%s", kNullPlayersPath);
        ok = false;
    } else if (XmlFileExists(path)) {
        CXmlDocPtr doc = ParseXmlFile(path, errors, warnings);
        ok = doc && LoadPlayersDocument(errors, warnings, players, doc.get(), path);
    }
    players.ClearModified();
    return ok;
}

bool LoadLibraryFile(CErrorRecord* errors, CWarningList* warnings, CLibrary& library, const CPlayers& players,
                     const char* path, bool merge)
{
    if (!merge)
        library.GetLists().RemoveAll();
    bool ok = true;
    if (!path) {
        SetMessage(errors, "%s", kNullLibraryPath);
        ok = false;
    } else if (XmlFileExists(path)) {
        CXmlDocPtr doc = ParseXmlFile(path, errors, warnings);
        ok = doc && LoadLibraryDocument(errors, warnings, library, doc.get(), path);
    } else if (merge) {
        // An import names a file the user picked: its absence is an error, unlike the
        // library file of a fresh configuration area.
        ok = CheckAccess(errors, path, false);
    }
    library.LinkPlayers(players, nullptr);
    if (!merge)
        library.ClearModified();
    return ok;
}

std::string WritePlayersText(const CPlayers& players)
{
    CXmlWriter writer;
    writer.StartElement(kPlayersRootName);
    writer.IntAttribute("Version", kXmlDocumentVersion);
    WritePlayersXml(players, writer);
    writer.EndElement();
    return writer.GetText();
}

std::string WriteLibraryText(const CLibrary& library)
{
    CXmlWriter writer;
    writer.StartElement(kLibraryRootName);
    writer.IntAttribute("Version", kXmlDocumentVersion);
    library.WriteXml(writer);
    writer.EndElement();
    return writer.GetText();
}

bool SavePlayersFile(CErrorRecord* errors, CPlayers& players, const char* path)
{
    if (!path) {
        SetMessage(errors, "%s", kNullPlayersPath);
        return false;
    }
    if (!SaveXmlText(WritePlayersText(players), path, errors))
        return false;
    players.ClearModified();
    return true;
}

bool SaveLibraryFile(CErrorRecord* errors, CLibrary& library, const char* path, bool clearModified)
{
    if (!path) {
        SetMessage(errors, "%s", kNullLibraryPath);
        return false;
    }
    if (!SaveXmlText(WriteLibraryText(library), path, errors))
        return false;
    if (clearModified)
        library.ClearModified();
    return true;
}
