#include "ui/EditDiscDlg.h"

#include "core/Registry.h"
#include "ui/ByteText.h"
#include "ui/DialogIds.h"
#include "ui/EditArtistDlg.h"
#include "ui/EditTrackDlg.h"
#include "ui/EditorParts.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <memory>

namespace {

QVariant Pointer(const void* p)
{
    return QVariant::fromValue(reinterpret_cast<quintptr>(p));
}

template <class T> T* FromPointer(const QVariant& v)
{
    return reinterpret_cast<T*>(v.value<quintptr>());
}

} // namespace

CEditDiscDlg::CEditDiscDlg(CLibrary* library, CPlayers* players, CLibList* list, CArtist* artist, CDisc* disc,
                           CPlayer* player, QWidget* parent)
    : CTidemarkDialog(kEditDiscDialog, parent), m_pLibrary(library), m_pPlayerList(players), m_pList(list),
      m_pDisc(disc), m_copy(disc ? disc->GetArtist() : artist),
      m_pInitialArtist(disc ? disc->GetArtist() : artist)
{
    if (disc) {
        m_copy = *disc;
        if (!disc->GetPlayer())
            m_unresolvedName = disc->GetDeviceName();
    } else if (player) {
        m_copy.SetPlayer(player);
        m_copy.SetNumber(library->GetHighestDiscNumber(player) + 1);
    }
    setWindowTitle(EditorCaption("Edit Disc / Item", disc ? &disc->GetName() : nullptr));

    // Player and number.
    auto* playerGroup = new QGroupBox(QStringLiteral("Player and Number"), Body());
    m_pPlayers = new QComboBox(playerGroup);
    m_pNumber = new CClampSpinBox(0, CDisc::kMaxNumber, playerGroup);
    auto* playerRow = new QHBoxLayout(playerGroup);
    playerRow->addWidget(m_pPlayers, 1);
    playerRow->addWidget(m_pNumber);

    // Artist.
    auto* artistGroup = new QGroupBox(QStringLiteral("Artist / Category"), Body());
    m_pArtists = new QComboBox(artistGroup);
    UseProntoFont(m_pArtists);
    m_pNewArtist = new QPushButton(QStringLiteral("New..."), artistGroup);
    m_pNewArtist->setAutoDefault(false);
    auto* artistRow = new QHBoxLayout(artistGroup);
    artistRow->addWidget(m_pArtists, 1);
    artistRow->addWidget(m_pNewArtist);

    // Names.
    auto* titleGroup = new QGroupBox(QStringLiteral("Title"), Body());
    auto* names = new QGridLayout(titleGroup);
    m_pName = AddNameRow(this, names, 0, QStringLiteral("Name:"), QStringLiteral("Disc / Item Name"));
    m_pShort = AddNameRow(this, names, 1, QStringLiteral("Short:"), QStringLiteral("Disc / Item Short Name"));
    m_pSortAs = AddNameRow(this, names, 2, QStringLiteral("Sort As:"),
                           QStringLiteral("Disc / Item Name (for sorting)"));

    // Tracks.
    auto* trackGroup = new QGroupBox(QStringLiteral("Tracks (Optional)"), Body());
    m_pTracks = new QTreeWidget(trackGroup);
    m_pTracks->setHeaderLabels({QStringLiteral("Number"), QStringLiteral("Title")});
    m_pTracks->setRootIsDecorated(false);
    m_pTracks->setUniformRowHeights(true);
    m_pTracks->header()->resizeSection(0, 70);
    UseProntoFont(m_pTracks);
    m_pAddTrack = new QPushButton(QStringLiteral("Add..."), trackGroup);
    m_pEditTrack = new QPushButton(QStringLiteral("Edit..."), trackGroup);
    m_pDeleteTrack = new QPushButton(QStringLiteral("Delete"), trackGroup);
    m_pIgnoreAll = new QCheckBox(QStringLiteral("Ignore All"), trackGroup);
    auto* trackButtons = new QVBoxLayout;
    for (QPushButton* b : {m_pAddTrack, m_pEditTrack, m_pDeleteTrack}) {
        b->setAutoDefault(false);
        trackButtons->addWidget(b);
    }
    trackButtons->addStretch(1);
    trackButtons->addWidget(m_pIgnoreAll);
    auto* trackRow = new QHBoxLayout(trackGroup);
    trackRow->addWidget(m_pTracks, 1);
    trackRow->addLayout(trackButtons);

    auto* layout = new QVBoxLayout(Body());
    auto* top = new QHBoxLayout;
    top->addWidget(playerGroup, 1);
    top->addWidget(artistGroup, 1);
    layout->addLayout(top);
    layout->addWidget(titleGroup);
    layout->addWidget(trackGroup, 1);
    layout->addWidget(MakeEditorButtons(this));

    connect(m_pPlayers, &QComboBox::activated, this, &CEditDiscDlg::PlayerChosen);
    connect(m_pNewArtist, &QPushButton::clicked, this, &CEditDiscDlg::NewArtist);
    connect(m_pAddTrack, &QPushButton::clicked, this, &CEditDiscDlg::AddTrack);
    connect(m_pEditTrack, &QPushButton::clicked, this, &CEditDiscDlg::EditTrack);
    connect(m_pDeleteTrack, &QPushButton::clicked, this, &CEditDiscDlg::DeleteTrack);
    connect(m_pTracks, &QTreeWidget::itemDoubleClicked, this, &CEditDiscDlg::EditTrack);
    connect(m_pTracks, &QTreeWidget::currentItemChanged, this, &CEditDiscDlg::UpdateTrackButtons);
    resize(560, 520);
}

bool CEditDiscDlg::OnInitDialog()
{
    if (!FillPlayers()) {
        ShowError(this, QStringLiteral("Population of GUI failed (player list)"));
        return false;
    }
    if (!FillArtists(m_pInitialArtist)) {
        ShowError(this, QStringLiteral("Population of GUI failed (artist list)"));
        return false;
    }
    FillFields();
    RestoreWindowSize(kWindowPosKey, "Disc");
    m_pName->setFocus();
    return true;
}

bool CEditDiscDlg::FillPlayers()
{
    if (!m_pPlayerList)
        return false;
    m_pPlayers->clear();
    if (m_unresolvedName.HasText())
        m_pPlayers->addItem(QStringLiteral("UNRESOLVED PLAYER: ") + NameToField(m_unresolvedName),
                            Pointer(nullptr));
    else
        m_pPlayers->addItem(QStringLiteral("<None>"), Pointer(nullptr));
    for (CPlayer* player : *m_pPlayerList) {
        m_pPlayers->addItem(NameToField(player->GetName()), Pointer(player));
        if (player == m_copy.GetPlayer())
            m_pPlayers->setCurrentIndex(m_pPlayers->count() - 1);
    }
    return true;
}

bool CEditDiscDlg::FillArtists(const CArtist* select)
{
    if (!m_pList)
        return false;
    m_pArtists->clear();
    for (CArtist* artist : m_pList->GetArtists()) {
        m_pArtists->addItem(NameToField(artist->GetName()), Pointer(artist));
        if (artist == select)
            m_pArtists->setCurrentIndex(m_pArtists->count() - 1);
    }
    if (!select)
        m_pArtists->setCurrentIndex(-1);
    return true;
}

void CEditDiscDlg::FillFields()
{
    m_pNumber->setValue(m_copy.GetNumber());
    m_pName->setText(NameToField(m_copy.GetName()));
    m_pShort->setText(NameToField(m_copy.GetShortName()));
    m_pSortAs->setText(NameToField(m_copy.GetSortAsName()));
    m_pIgnoreAll->setChecked(m_copy.GetIgnoreTracks());
    FillTracks(nullptr);
}

void CEditDiscDlg::FillTracks(const CTrack* select)
{
    m_pTracks->clear();
    for (CTrack* track : m_copy.GetTracks()) {
        auto* item = new QTreeWidgetItem(
            m_pTracks, {QString::number(track->GetNumber()), NameToField(track->GetTitle())});
        item->setData(0, Qt::UserRole, Pointer(track));
        if (track == select)
            m_pTracks->setCurrentItem(item);
    }
    UpdateTrackButtons();
}

CPlayer* CEditDiscDlg::SelectedPlayer() const
{
    return FromPointer<CPlayer>(m_pPlayers->currentData());
}

CArtist* CEditDiscDlg::SelectedArtist() const
{
    return m_pArtists->currentIndex() < 0 ? nullptr : FromPointer<CArtist>(m_pArtists->currentData());
}

CTrack* CEditDiscDlg::SelectedTrack() const
{
    QTreeWidgetItem* item = m_pTracks->currentItem();
    return item ? FromPointer<CTrack>(item->data(0, Qt::UserRole)) : nullptr;
}

void CEditDiscDlg::PlayerChosen()
{
    // A new disc follows the chosen player's numbering.
    CPlayer* player = SelectedPlayer();
    if (!m_pDisc && player)
        m_pNumber->setValue(std::min(m_pLibrary->GetHighestDiscNumber(player) + 1, CDisc::kMaxNumber));
}

void CEditDiscDlg::UpdateTrackButtons()
{
    bool selected = SelectedTrack() != nullptr;
    m_pEditTrack->setEnabled(selected);
    m_pDeleteTrack->setEnabled(selected);
}

void CEditDiscDlg::NewArtist()
{
    auto* editor = new CEditArtistDlg(m_pList, nullptr, this);
    editor->SetOnDone([this](CArtist* artist) {
        FillArtists(artist);
        if (m_artistAdded)
            m_artistAdded(artist);
    });
    OpenChild(editor, kEditArtistDialog, false, true);
}

void CEditDiscDlg::AddTrack()
{
    auto* editor = new CEditTrackDlg(&m_copy, nullptr, this);
    editor->SetOnDone([this](CTrack* track) { FillTracks(track); });
    OpenChild(editor, kEditTrackDialog, false, true);
}

void CEditDiscDlg::EditTrack()
{
    CTrack* track = SelectedTrack();
    if (!track)
        return;
    auto* editor = new CEditTrackDlg(&m_copy, track, this);
    editor->SetOnDone([this](CTrack* done) { FillTracks(done); });
    OpenChild(editor, kEditTrackDialog, false, true);
}

void CEditDiscDlg::DeleteTrack()
{
    if (CTrack* track = SelectedTrack()) {
        m_copy.GetTracks().Remove(track);
        FillTracks(nullptr);
    }
}

bool CEditDiscDlg::ValidateData()
{
    CArtist* artist = SelectedArtist();
    if (!artist) {
        ShowError(this, QStringLiteral("No Artist selected."));
        return false;
    }
    SetNameFromField(m_copy.GetName(), m_pName, false);
    SetNameFromField(m_copy.GetShortName(), m_pShort, true);
    SetNameFromField(m_copy.GetSortAsName(), m_pSortAs, true);
    m_copy.SetNumber(m_pNumber->GetValue());
    m_copy.SetIgnoreTracks(m_pIgnoreAll->isChecked());
    CPlayer* player = SelectedPlayer();
    m_copy.SetPlayer(player);
    if (!player && m_unresolvedName.HasText())
        m_copy.SetDeviceName(m_unresolvedName);
    m_copy.SetArtist(artist);

    CErrorRecord errors;
    if (!m_pDisc)
        return StoreAndAdd();
    CArtist* oldArtist = m_pDisc->GetArtist();
    CDisc* done = nullptr;
    if (oldArtist == artist) {
        done = artist->GetDiscs().Update(&errors, &m_copy, m_pDisc);
    } else if (oldArtist) {
        done = oldArtist->GetDiscs().UpdateTo(&errors, &artist->GetDiscs(), &m_copy, m_pDisc);
        if (done)
            done->SetArtist(artist);
    }
    if (!done) {
        ShowRefusal(this, errors, "Cannot update disc");
        return false;
    }
    if (m_discDone)
        m_discDone(done);
    return true;
}

bool CEditDiscDlg::StoreAndAdd()
{
    CArtist* artist = m_copy.GetArtist();
    CErrorRecord errors;
    auto added = std::make_unique<CDisc>(m_copy);
    CDisc* done = artist->GetDiscs().Add(&errors, added.get());
    if (!done) {
        ShowRefusal(this, errors, "Cannot add disc");
        return false;
    }
    added.release();
    if (m_discDone)
        m_discDone(done);
    SetStatusText(QStringLiteral("Added \"%1\"").arg(NameToField(done->GetName())));

    // The editor stays open for the next disc of the same player and artist.
    CDisc next(artist);
    next.SetPlayer(done->GetPlayer());
    if (!done->GetPlayer())
        next.SetDeviceName(done->GetDeviceName());
    next.SetNumber(done->GetNumber() + 1);
    m_copy = next;
    FillFields();
    m_pName->setFocus();
    return false;
}
