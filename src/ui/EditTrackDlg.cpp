#include "ui/EditTrackDlg.h"

#include "core/Registry.h"
#include "ui/ByteText.h"
#include "ui/DialogIds.h"
#include "ui/EditorParts.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include <memory>

CEditTrackDlg::CEditTrackDlg(CDisc* disc, CTrack* track, QWidget* parent)
    : CTidemarkDialog(kEditTrackDialog, parent), m_pDisc(disc), m_pTrack(track), m_copy(disc)
{
    if (track) {
        m_copy = *track;
    } else {
        const CTrack* last = disc->GetTracks().GetLast();
        m_copy.SetNumber(last ? last->GetNumber() + 1 : 1);
    }
    setWindowTitle(EditorCaption("Edit Track", track ? &track->GetNumberText() : nullptr));

    auto* grid = new QGridLayout;
    m_pNumber = new CClampSpinBox(0, CTrack::kMaxNumber, Body());
    m_pNumber->setValue(m_copy.GetNumber());
    grid->addWidget(new QLabel(QStringLiteral("Number"), Body()), 0, 0);
    grid->addWidget(m_pNumber, 0, 1, Qt::AlignLeft);
    m_pTitle = AddNameRow(this, grid, 1, QStringLiteral("Title"), QStringLiteral("Track Title"));
    m_pTitle->setText(NameToField(m_copy.GetTitle()));

    auto* layout = new QVBoxLayout(Body());
    layout->addLayout(grid);
    layout->addStretch(1);
    layout->addWidget(MakeEditorButtons(this));
    resize(380, 130);
}

bool CEditTrackDlg::OnInitDialog()
{
    RestoreWindowSize(kWindowPosKey, "Track");
    m_pTitle->setFocus();
    return true;
}

bool CEditTrackDlg::ValidateData()
{
    m_copy.SetNumber(m_pNumber->GetValue());
    SetNameFromField(m_copy.GetTitle(), m_pTitle, false);
    CErrorRecord errors;
    CTrack* done = nullptr;
    if (m_pTrack) {
        done = m_pDisc->GetTracks().Update(&errors, &m_copy, m_pTrack);
        if (!done) {
            ShowRefusal(this, errors, "Cannot update track");
            return false;
        }
    } else {
        auto added = std::make_unique<CTrack>(m_copy);
        done = m_pDisc->GetTracks().Add(&errors, added.get());
        if (!done) {
            ShowRefusal(this, errors, "Cannot add track");
            return false;
        }
        added.release();
    }
    if (m_done)
        m_done(done);
    return true;
}
