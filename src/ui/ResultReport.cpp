#include "ui/ResultReport.h"

#include "ui/DialogIds.h"
#include "ui/ListingDlg.h"
#include "ui/UiText.h"
#include "ui/UserPrompts.h"

bool ReportFailure(CTidemarkDialog* owner, const CErrorRecord* errors, const CWarningList* lines,
                   const QString& caption, bool stopIcon)
{
    QString text = DwText(GetText(errors));
    if (lines && !lines->empty()) {
        auto* listing = new CListingDlg(caption, text, *lines, owner);
        if (owner)
            return owner->OpenChild(listing, kListingDialog, false, true);
        UserPrompts().RunModal(*listing);
        delete listing;
        return false;
    }
    ShowMessage(owner, text, caption, stopIcon ? EPromptIcon::Stop : EPromptIcon::Exclamation);
    return false;
}
