#include "csf/CSFInventory.h"

#include "csf/CSFAbstractTree.h"
#include "csf/CSFSection.h"

#include <ostream>

namespace {

const char* Marks(const CCSFButton& button)
{
    if (button.HasAction() && button.HasAlias())
        return " [action, alias]";
    if (button.HasAction())
        return " [action]";
    if (button.HasAlias())
        return " [alias]";
    return "";
}

void CountBelow(const CCSFSection& node, std::size_t& count)
{
    ++count;
    for (const CCSFSection* c = node.GetFirstChild(); c != nullptr; c = c->GetNextSibling())
        CountBelow(*c, count);
}

} // namespace

std::size_t CountStatements(const CCSFSection& root)
{
    std::size_t count = 0;
    CountBelow(root, count);
    return count;
}

void PrintCsfInspection(std::ostream& out, CCSFSection& root, const CCSFAbstractTree& tree)
{
    for (const CCSFDevice* device : tree) {
        out << "Device \"" << device->GetName().GetDisplay() << "\"\n";
        for (const CCSFButton* key : device->GetHardButtons())
            out << "  Hard button \"" << key->GetName().GetDisplay() << "\""
                << (key->HasAlias() ? " [alias]" : "") << "\n";
        for (const CCSFPanel* panel : device->GetPanels()) {
            out << "  Panel \"" << panel->GetName().GetDisplay() << "\"\n";
            for (const CCSFButton* button : panel->GetButtons())
                out << "    Button " << button->GetNumber() << " \"" << button->GetName().GetDisplay() << "\""
                    << Marks(*button) << "\n";
        }
    }
    root.UpdateHighestButtonNumber();
    out << "Statements: " << CountStatements(root) << "\n";
    out << "Highest button number: " << root.GetHighestButtonNumber() << "\n";
}
