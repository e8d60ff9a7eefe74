#include "ui/EditArtistDlg.h"

#include "core/Registry.h"
#include "ui/ByteText.h"
#include "ui/DialogIds.h"
#include "ui/EditorParts.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLineEdit>
#include <QVBoxLayout>

#include <memory>

CEditArtistDlg::CEditArtistDlg(CLibList* list, CArtist* artist, QWidget* parent)
    : CTidemarkDialog(kEditArtistDialog, parent), m_pList(list), m_pArtist(artist), m_copy(list)
{
    if (artist)
        m_copy = *artist;
    setWindowTitle(EditorCaption("Edit Artist / Category", artist ? &artist->GetName() : nullptr));

    auto* grid = new QGridLayout;
    m_pName = AddNameRow(this, grid, 0, QStringLiteral("Name:"), QStringLiteral("Artist Name"));
    m_pShort = AddNameRow(this, grid, 1, QStringLiteral("Short Name:"),
                          QStringLiteral("Artist Name (short version)"));
    m_pSortAs =
        AddNameRow(this, grid, 2, QStringLiteral("Sort As:"), QStringLiteral("Artist Name (for sorting)"));
    m_pName->setText(NameToField(m_copy.GetName()));
    m_pShort->setText(NameToField(m_copy.GetShortName()));
    m_pSortAs->setText(NameToField(m_copy.GetSortAsName()));

    auto* layout = new QVBoxLayout(Body());
    layout->addLayout(grid);
    layout->addStretch(1);
    layout->addWidget(MakeEditorButtons(this));
    resize(420, 170);
}

bool CEditArtistDlg::OnInitDialog()
{
    RestoreWindowSize(kWindowPosKey, "Artist");
    m_pName->setFocus();
    return true;
}

bool CEditArtistDlg::ValidateData()
{
    SetNameFromField(m_copy.GetName(), m_pName, false);
    SetNameFromField(m_copy.GetShortName(), m_pShort, true);
    SetNameFromField(m_copy.GetSortAsName(), m_pSortAs, true);
    CErrorRecord errors;
    CArtist* done = nullptr;
    if (m_pArtist) {
        done = m_pList->GetArtists().Update(&errors, &m_copy, m_pArtist);
        if (!done) {
            ShowRefusal(this, errors, "Cannot update artist");
            return false;
        }
    } else {
        auto added = std::make_unique<CArtist>(m_copy);
        done = m_pList->GetArtists().Add(&errors, added.get());
        if (!done) {
            ShowRefusal(this, errors, "Cannot add artist");
            return false;
        }
        added.release();
    }
    if (m_done)
        m_done(done);
    return true;
}
