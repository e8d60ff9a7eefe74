#pragma once

// Showing the outcome of a failed operation in the program's one way: the Listing
// dialog when there are lines to show with the error (warnings, the codec's log), else
// a message box with the error record's text.

#include "core/ErrorRecord.h"

#include <QString>

class CTidemarkDialog;

// With owner set and lines to show, the Listing dialog opens as owner's child (template
// kListingDialog, so owner learns in OnChildClose when it has closed); without an owner
// it runs modally. Returns true when a Listing dialog was opened as a child.
bool ReportFailure(CTidemarkDialog* owner, const CErrorRecord* errors, const CWarningList* lines,
                   const QString& caption = QStringLiteral("Discweaver Error"), bool stopIcon = false);
