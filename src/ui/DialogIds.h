#pragma once

// Template identifiers of the program's dialogs (what a child reports to its parent's
// OnChildClose) and the constant identifiers of the jobs (what a progress dialog
// reports as its result and what OnThreadFinished receives).

enum EDialogTemplate : int {
    kMainDialog = 102,
    kEditListsDialog = 129,
    kEditDiscDialog = 130,
    kEditPlayersDialog = 131,
    kEditPlayerDialog = 132,
    kEditArtistDialog = 133,
    kEditListDialog = 134,
    kProgressDialog = 137,
    kAboutDialog = 138,
    kListingDialog = 142,
    kAddPlayerDialog = 144,
    kSelectionTreeDialog = 145,
    kProntoStringDialog = 151,
    kPlayerResolutionDialog = 157,
    kCcfDllDialog = 159,
    kSlotReportDialog = 160,
    kEditTrackDialog = 161,
    kImportDialog = 162,
    kCsvDialog = 163,
};

enum EJobId : int {
    kJobClosing = 1,
    kJobStartup = 2,
    kJobPrepareForPlayers = 3,
    kJobPrepareForLists = 4,
    kJobCancelPlayers = 5,
    kJobSavePlayers = 6,
    kJobCancelLists = 7,
    kJobSaveLists = 8,
    kJobPrepareForExecution = 9,
    kJobSaveResolution = 10,
    kJobResolvePlayers = 11,
    kJobExecute = 12,
    kJobSlotReport = 13,
    kJobXmlExchange = 14,
    kJobCsvExchange = 15,
    kJobCsvPreview = 16,
};
