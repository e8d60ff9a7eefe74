#pragma once

// "Edit Track": a track's number (0 to 99) and title, added to or updated in its disc's
// track collection (the disc editor's copy). A refusal (a number the disc already has)
// keeps the editor open with the reason.

#include "model/Library.h"
#include "ui/TidemarkDialog.h"

#include <functional>

class CClampSpinBox;
class QLineEdit;

class CEditTrackDlg : public CTidemarkDialog
{
    Q_OBJECT

public:
    // track null: a new track, numbered one above the disc's highest track.
    CEditTrackDlg(CDisc* disc, CTrack* track, QWidget* parent = nullptr);

    void SetOnDone(std::function<void(CTrack*)> done) { m_done = std::move(done); }
    CClampSpinBox* GetNumberBox() const { return m_pNumber; }
    QLineEdit* GetTitleEdit() const { return m_pTitle; }

protected:
    bool OnInitDialog() override;
    bool ValidateData() override;

private:
    CDisc* m_pDisc;
    CTrack* m_pTrack;
    CTrack m_copy;
    std::function<void(CTrack*)> m_done;
    CClampSpinBox* m_pNumber = nullptr;
    QLineEdit* m_pTitle = nullptr;
};
