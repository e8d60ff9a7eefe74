#include "ui/EditListsDlg.h"

#include "core/DWConfig.h"
#include "core/Registry.h"
#include "csf/CCFWrapper.h"
#include "model/DWModel.h"
#include "model/Library.h"
#include "ui/ByteText.h"
#include "ui/DialogIds.h"
#include "ui/EditArtistDlg.h"
#include "ui/EditDiscDlg.h"
#include "ui/EditListDlg.h"
#include "ui/EditorHooks.h"
#include "ui/EditorParts.h"
#include "ui/ImportExportDlg.h"
#include "ui/ProgressDlg.h"
#include "ui/ResultReport.h"
#include "ui/SlotReportDlg.h"
#include "ui/ThreadJob.h"
#include "ui/UserPrompts.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QMimeData>
#include <QPushButton>
#include <QVBoxLayout>

#include <vector>

namespace {

QPushButton* MakeButton(const QString& text, const char* name, QWidget* parent)
{
    auto* button = new QPushButton(text, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setAutoDefault(false);
    return button;
}

} // namespace

// ---- the dialog -------------------------------------------------------------------------

CEditListsDlg::CEditListsDlg(CDWConfig* config, CCFWrapper* wrapper, QWidget* parent)
    : CTidemarkDialog(kEditListsDialog, parent), m_pConfig(config), m_pLibrary(&GetLibrary(*config)),
      m_pWrapper(wrapper)
{
    setWindowTitle(QStringLiteral("Edit Lists"));
    m_pTree = new CLibraryTree(this, Body());

    m_pAdd = MakeButton(QStringLiteral("Add"), "add", Body());
    m_pEdit = MakeButton(QStringLiteral("Edit"), "edit", Body());
    m_pDelete = MakeButton(QStringLiteral("Delete"), "delete", Body());
    m_pMoveUp = MakeButton(QStringLiteral("Move Up"), "moveUp", Body());
    m_pMoveDown = MakeButton(QStringLiteral("Move Down"), "moveDown", Body());
    m_pSort = MakeButton(QStringLiteral("Sort"), "sort", Body());
    m_pKeepSorted = new QCheckBox(QStringLiteral("Keep Sorted"), Body());
    m_pKeepSorted->setObjectName(QStringLiteral("keepSorted"));
    QPushButton* import = MakeButton(QStringLiteral("Import"), "import", Body());
    QPushButton* exportButton = MakeButton(QStringLiteral("Export"), "export", Body());
    QPushButton* report = MakeButton(QStringLiteral("Report"), "report", Body());
    QPushButton* manage = MakeButton(QStringLiteral("Manage"), "manage", Body());
    manage->setEnabled(false);
    connect(import, &QPushButton::clicked, this, [this]() { OpenExchange(true); });
    connect(exportButton, &QPushButton::clicked, this, [this]() { OpenExchange(false); });
    connect(report, &QPushButton::clicked, this, &CEditListsDlg::OnReport);

    auto* side = new QVBoxLayout;
    for (QWidget* w : std::initializer_list<QWidget*>{m_pAdd, m_pEdit, m_pDelete, m_pMoveUp, m_pMoveDown,
                                                      m_pSort, m_pKeepSorted})
        side->addWidget(w);
    side->addSpacing(12);
    for (QPushButton* b : {import, exportButton, report, manage})
        side->addWidget(b);
    side->addStretch(1);
    auto* top = new QHBoxLayout;
    top->addWidget(m_pTree, 1);
    top->addLayout(side);
    auto* layout = new QVBoxLayout(Body());
    layout->addLayout(top, 1);
    layout->addWidget(MakeEditorButtons(this));

    connect(m_pTree, &QTreeWidget::itemExpanded, this, &CEditListsDlg::FillChildren);
    connect(m_pTree, &QTreeWidget::currentItemChanged, this, &CEditListsDlg::UpdateButtons);
    connect(m_pTree, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* item) {
        if (KindOf(item) != kRootNode)
            OnEdit();
    });
    connect(m_pAdd, &QPushButton::clicked, this, &CEditListsDlg::OnAdd);
    connect(m_pEdit, &QPushButton::clicked, this, &CEditListsDlg::OnEdit);
    connect(m_pDelete, &QPushButton::clicked, this, &CEditListsDlg::OnDelete);
    connect(m_pMoveUp, &QPushButton::clicked, this, [this]() { OnMove(true); });
    connect(m_pMoveDown, &QPushButton::clicked, this, [this]() { OnMove(false); });
    connect(m_pSort, &QPushButton::clicked, this,
            [this]() { ChangeSiblings([](auto& collection) { collection.Sort(); }); });
    connect(m_pKeepSorted, &QCheckBox::clicked, this,
            [this](bool on) { ChangeSiblings([on](auto& collection) { collection.SetKeepSorted(on); }); });
    resize(620, 480);
    Fill();
}

bool CEditListsDlg::OnInitDialog()
{
    RestoreWindowSize(kWindowPosKey, "Lists");
    return true;
}

CEditListsDlg::ENodeKind CEditListsDlg::KindOf(const QTreeWidgetItem* item)
{
    return NodeKind(item);
}

QTreeWidgetItem* CEditListsDlg::MakeItem(ENodeKind kind, const void* object, bool hasChildren)
{
    QTreeWidgetItem* item = MakeNode(kind, object);
    // Levels are filled when first expanded; until then a placeholder gives the node
    // its expander.
    if (hasChildren)
        item->addChild(new QTreeWidgetItem);
    m_items[object] = item;
    SetItemText(item);
    return item;
}

void CEditListsDlg::SetItemText(QTreeWidgetItem* item)
{
    item->setText(0, BytesToField(NodeText(item)));
}

void CEditListsDlg::Fill()
{
    m_pTree->clear();
    m_items.clear();
    QTreeWidgetItem* root = MakeItem(kRootNode, m_pLibrary, m_pLibrary->GetLists().GetCount() > 0);
    m_pTree->addTopLevelItem(root);
    root->setExpanded(true); // fills the lists
    m_pTree->setCurrentItem(root);
    UpdateButtons();
}

void CEditListsDlg::FillChildren(QTreeWidgetItem* item)
{
    if (!item || IsNodeFilled(item) || KindOf(item) == kDiscNode || KindOf(item) == kPlaceholderNode)
        return;
    SetNodeFilled(item);
    QList<QTreeWidgetItem*> placeholder = item->takeChildren();
    qDeleteAll(placeholder);
    QList<QTreeWidgetItem*> children;
    for (auto [kind, object] : NodeChildren(item))
        children << MakeItem(kind, object, NodeHasChildren(kind, object));
    item->addChildren(children);
}

void CEditListsDlg::ForgetItem(QTreeWidgetItem* item)
{
    for (int i = 0; i < item->childCount(); ++i)
        ForgetItem(item->child(i));
    auto it = m_items.find(NodeObject(item));
    if (it != m_items.end() && it->second == item)
        m_items.erase(it);
}

void CEditListsDlg::Sync(QTreeWidgetItem* item)
{
    if (!item)
        return;
    auto children = NodeChildren(item);
    if (!IsNodeFilled(item)) {
        if (children.empty())
            qDeleteAll(item->takeChildren());
        else if (item->childCount() == 0)
            item->addChild(new QTreeWidgetItem);
        return;
    }
    QTreeWidgetItem* current = m_pTree->currentItem();
    std::vector<QTreeWidgetItem*> expanded;
    for (auto [kind, object] : children) {
        auto it = m_items.find(object);
        if (it != m_items.end() && it->second->isExpanded())
            expanded.push_back(it->second);
    }
    QList<QTreeWidgetItem*> old = item->takeChildren();
    QList<QTreeWidgetItem*> fresh;
    for (auto [kind, object] : children) {
        auto it = m_items.find(object);
        QTreeWidgetItem* child = it != m_items.end() ? it->second : nullptr;
        if (child && child->parent()) // an element that moved here from another node
            child->parent()->removeChild(child);
        if (child) {
            old.removeOne(child);
            SetItemText(child);
        } else {
            child = MakeItem(kind, object, NodeHasChildren(kind, object));
        }
        fresh << child;
    }
    bool currentGone = old.contains(current);
    for (QTreeWidgetItem* gone : old) {
        ForgetItem(gone);
        delete gone;
    }
    // Taken items lose their expanded state in the view, so it was noted above.
    item->addChildren(fresh);
    for (QTreeWidgetItem* child : expanded)
        child->setExpanded(true);
    if (current && !currentGone)
        m_pTree->setCurrentItem(current);
    else if (currentGone)
        m_pTree->setCurrentItem(item);
}

QTreeWidgetItem* CEditListsDlg::ItemFor(const void* object)
{
    if (!object)
        return nullptr;
    auto it = m_items.find(object);
    if (it != m_items.end())
        return it->second;
    // Fill the levels above it. Only addresses are compared: object may be of any level.
    const void* above = nullptr;
    for (CLibList* list : m_pLibrary->GetLists()) {
        if (list == object)
            above = m_pLibrary;
        for (CArtist* artist : list->GetArtists()) {
            if (artist == object)
                above = list;
            for (CDisc* disc : artist->GetDiscs())
                if (disc == object)
                    above = artist;
        }
    }
    if (!above)
        return nullptr;
    QTreeWidgetItem* parent = ItemFor(above);
    if (!parent)
        return nullptr;
    FillChildren(parent);
    it = m_items.find(object);
    return it != m_items.end() ? it->second : nullptr;
}

bool CEditListsDlg::SelectObject(const void* object)
{
    QTreeWidgetItem* item = ItemFor(object);
    if (!item)
        return false;
    for (QTreeWidgetItem* p = item->parent(); p; p = p->parent())
        p->setExpanded(true);
    m_pTree->setCurrentItem(item);
    m_pTree->scrollToItem(item);
    return true;
}

void CEditListsDlg::ReportTreeError(const char* what, bool notInMap)
{
    QString text = QString::fromLatin1(what);
    if (notInMap)
        text += QStringLiteral(", item not found in map");
    ShowError(this, text);
}

void CEditListsDlg::UpdateButtons()
{
    QTreeWidgetItem* item = m_pTree->currentItem();
    ENodeKind kind = KindOf(item);
    const CTreeLabels& labels = NodeLabels(kind);
    m_pAdd->setText(QString::fromLatin1(labels.add));
    m_pEdit->setText(QString::fromLatin1(labels.edit));
    m_pDelete->setText(QString::fromLatin1(labels.remove));
    m_pSort->setText(QString::fromLatin1(labels.sort));
    if (!IsIdle())
        return;
    bool node = kind != kPlaceholderNode;
    CNodeSiblings siblings = NodeSiblings(item);
    m_pAdd->setEnabled(node);
    m_pEdit->setEnabled(node && kind != kRootNode);
    m_pDelete->setEnabled(node && kind != kRootNode);
    m_pMoveUp->setEnabled(node && kind != kRootNode && !siblings.keepSorted && !siblings.first);
    m_pMoveDown->setEnabled(node && kind != kRootNode && !siblings.keepSorted && !siblings.last);
    m_pSort->setEnabled(siblings.present);
    m_pKeepSorted->setEnabled(siblings.present);
    m_pKeepSorted->setChecked(siblings.keepSorted);
}

// ---- the node operations ----------------------------------------------------------------

void CEditListsDlg::OnAdd()
{
    QTreeWidgetItem* item = m_pTree->currentItem();
    switch (KindOf(item)) {
    case kRootNode:
        OpenListEditor(nullptr);
        break;
    case kListNode: {
        CLibList* list = NodeAs<CLibList>(item);
        OpenDiscEditor(nullptr, list, list->GetArtists().GetFirst(), item);
        break;
    }
    case kArtistNode: {
        CArtist* artist = NodeAs<CArtist>(item);
        OpenDiscEditor(nullptr, artist->GetList(), artist, item);
        break;
    }
    case kDiscNode: {
        CDisc* disc = NodeAs<CDisc>(item);
        OpenDiscEditor(nullptr, disc->GetArtist()->GetList(), disc->GetArtist(), item);
        break;
    }
    default:
        break;
    }
}

void CEditListsDlg::OnEdit()
{
    QTreeWidgetItem* item = m_pTree->currentItem();
    switch (KindOf(item)) {
    case kListNode:
        OpenListEditor(NodeAs<CLibList>(item));
        break;
    case kArtistNode:
        OpenArtistEditor(NodeAs<CArtist>(item));
        break;
    case kDiscNode: {
        CDisc* disc = NodeAs<CDisc>(item);
        OpenDiscEditor(disc, disc->GetArtist()->GetList(), disc->GetArtist(), item);
        break;
    }
    default:
        break;
    }
}

void CEditListsDlg::OpenListEditor(CLibList* list)
{
    const CCSFAbstractTree* tree = m_pWrapper ? m_pWrapper->GetAbstractTree() : nullptr;
    auto* editor = new CEditListDlg(m_pLibrary, list, tree, this);
    editor->SetOnDone([this, list](CLibList* done) {
        QTreeWidgetItem* root = ItemFor(m_pLibrary);
        Sync(root);
        if (list) {
            if (QTreeWidgetItem* item = ItemFor(done))
                SetItemText(item);
            else
                ReportTreeError("Error updating item in tree", true);
        }
        if (!SelectObject(done))
            ReportTreeError(list ? "Error selecting item in tree" : "Error adding item to tree", true);
    });
    OpenChild(editor, kEditListDialog, false, true);
}

void CEditListsDlg::OpenArtistEditor(CArtist* artist)
{
    auto* editor = new CEditArtistDlg(artist->GetList(), artist, this);
    editor->SetOnDone([this](CArtist* done) {
        Sync(ItemFor(done->GetList()));
        if (!SelectObject(done))
            ReportTreeError("Error updating item in tree", true);
    });
    OpenChild(editor, kEditArtistDialog, false, true);
}

void CEditListsDlg::OpenDiscEditor(CDisc* disc, CLibList* list, CArtist* artist, QTreeWidgetItem* from)
{
    CPlayer* player = nullptr;
    if (KindOf(from) == kDiscNode)
        player = NodeAs<CDisc>(from)->GetPlayer();
    else if (artist && artist->GetDiscs().GetLast())
        player = artist->GetDiscs().GetLast()->GetPlayer();
    if (!player && !disc)
        player = GetPlayers(*m_pConfig).GetFirst();
    m_pEditedDiscArtist = disc ? disc->GetArtist() : nullptr;
    auto* editor = new CEditDiscDlg(m_pLibrary, &GetPlayers(*m_pConfig), list, artist, disc, player, this);
    editor->SetOnDiscDone([this](CDisc* done) { DiscChanged(done); });
    editor->SetOnArtistAdded([this](CArtist* added) { Sync(ItemFor(added->GetList())); });
    OpenChild(editor, kEditDiscDialog, false, true);
}

void CEditListsDlg::DiscChanged(CDisc* disc)
{
    if (m_pEditedDiscArtist && m_pEditedDiscArtist != disc->GetArtist())
        Sync(ItemFor(m_pEditedDiscArtist));
    Sync(ItemFor(disc->GetArtist()->GetList()));
    Sync(ItemFor(disc->GetArtist()));
    if (!SelectObject(disc))
        ReportTreeError("Error adding item to tree", true);
}

void CEditListsDlg::OnDelete()
{
    QTreeWidgetItem* item = m_pTree->currentItem();
    ENodeKind kind = KindOf(item);
    const void* object = NodeObject(item);
    if (kind != kListNode && kind != kArtistNode && kind != kDiscNode)
        return;
    std::string question = NodeDeleteQuestion(item);
    if (!question.empty() &&
        UserPrompts().Ask(this, BytesToField(question), QString::fromLatin1(kDeleteQuestionCaption),
                          EPromptButtons::YesNo, EPromptIcon::Question) != EPromptAnswer::Yes)
        return;
    QTreeWidgetItem* parent = item->parent();
    int index = parent ? parent->indexOfChild(item) : -1;
    if (index < 0) {
        ReportTreeError("Error removing item from tree", false);
        return;
    }
    // The next sibling, else the previous one, else the parent takes the selection.
    QTreeWidgetItem* next = parent->child(index + 1) ? parent->child(index + 1)
                            : index > 0              ? parent->child(index - 1)
                                                     : parent;
    // The item goes first, so that nothing shows an element that no longer exists.
    m_pTree->setCurrentItem(next);
    ForgetItem(item);
    delete parent->takeChild(index);
    switch (kind) {
    case kListNode:
        m_pLibrary->GetLists().Remove(static_cast<CLibList*>(const_cast<void*>(object)));
        break;
    case kArtistNode: {
        auto* artist = static_cast<CArtist*>(const_cast<void*>(object));
        artist->GetList()->GetArtists().Remove(artist);
        break;
    }
    case kDiscNode: {
        auto* disc = static_cast<CDisc*>(const_cast<void*>(object));
        disc->GetArtist()->GetDiscs().Remove(disc);
        break;
    }
    default:
        break;
    }
    Sync(parent); // the parent may have lost its last child
    UpdateButtons();
}

void CEditListsDlg::OnMove(bool up)
{
    QTreeWidgetItem* item = m_pTree->currentItem();
    if (KindOf(item) == kRootNode)
        return;
    bool moved = false;
    QTreeWidgetItem* parent = WithSiblings(item, [&moved, up, item](auto& collection) {
        auto* element = NodeAs<std::remove_pointer_t<decltype(collection.GetFirst())>>(item);
        moved = up ? collection.MoveUp(element) : collection.MoveDown(element);
    });
    if (moved) {
        const void* object = NodeObject(item);
        Sync(parent);
        SelectObject(object);
    }
    UpdateButtons();
}

template <class F> void CEditListsDlg::ChangeSiblings(F f)
{
    QTreeWidgetItem* item = m_pTree->currentItem();
    if (QTreeWidgetItem* parent = WithSiblings(item, f)) {
        Sync(parent);
        m_pTree->setCurrentItem(item);
    }
    UpdateButtons();
}

// ---- drag and drop ----------------------------------------------------------------------

CDisc* CEditListsDlg::DiscFromDragData(const QMimeData* data) const
{
    if (!data || !data->hasFormat(QString::fromLatin1(CLibraryTree::kDiscMimeType)))
        return nullptr;
    bool ok = false;
    quintptr value = data->data(QString::fromLatin1(CLibraryTree::kDiscMimeType)).toULongLong(&ok);
    if (!ok)
        return nullptr;
    // Only a disc this tree shows is ever dereferenced.
    auto it = m_items.find(reinterpret_cast<const void*>(value));
    if (it == m_items.end() || KindOf(it->second) != kDiscNode)
        return nullptr;
    return NodeAs<CDisc>(it->second);
}

void CEditListsDlg::DropDisc(QTreeWidgetItem* discItem, QTreeWidgetItem* target)
{
    if (!IsIdle() || KindOf(discItem) != kDiscNode)
        return;
    CDisc* disc = NodeAs<CDisc>(discItem);
    CArtist* to = KindOf(target) == kArtistNode ? NodeAs<CArtist>(target)
                  : KindOf(target) == kDiscNode ? NodeAs<CDisc>(target)->GetArtist()
                                                : nullptr;
    CArtist* from = disc->GetArtist();
    if (!to || to == from)
        return;
    if (to->GetList() != from->GetList()) {
        ShowError(this, QStringLiteral("Can only move discs between sibling artists"));
        return;
    }
    CErrorRecord errors;
    if (!from->GetDiscs().UpdateTo(&errors, &to->GetDiscs(), nullptr, disc)) {
        ShowRefusal(this, errors, "Cannot update disc");
        return;
    }
    disc->SetArtist(to);
    Sync(ItemFor(from));
    Sync(ItemFor(to));
    if (!SelectObject(disc))
        ReportTreeError("Error selecting item in tree", true);
}

// ---- OK, Cancel and their jobs ----------------------------------------------------------

bool CEditListsDlg::ValidateData()
{
    if (!m_pLibrary->IsModified())
        return true;
    RunLibraryJob(kJobSaveLists);
    return false;
}

void CEditListsDlg::reject()
{
    if (!IsIdle())
        return;
    if (!m_pLibrary->IsModified()) {
        CTidemarkDialog::reject();
        return;
    }
    if (UserPrompts().Ask(this, QStringLiteral("Discard your changes?"),
                          QString::fromLatin1(kDeleteQuestionCaption), EPromptButtons::YesNo,
                          EPromptIcon::Question) != EPromptAnswer::Yes)
        return;
    RunLibraryJob(kJobCancelLists);
}

void CEditListsDlg::RunLibraryJob(int jobId)
{
    m_jobErrors = CErrorRecord();
    m_jobWarnings.clear();
    m_bJobOk = false;
    m_nJob = jobId;
    CDWConfig* config = m_pConfig;
    auto* job = new CFunctionJob(jobId, [this, config, jobId](CProgressJob& progress) {
        bool ok;
        if (jobId == kJobSaveLists) {
            progress.SetTitle("Saving changes...");
            progress.SetHeading("Saving Library");
            ok = config->SaveLibrary(&m_jobErrors);
        } else {
            progress.SetTitle("Cancelling changes...");
            progress.SetHeading("Re-loading Library");
            ok = config->LoadLibrary(&m_jobErrors, &m_jobWarnings);
        }
        m_bJobOk = ok;
        progress.SetSucceeded(ok);
    });
    OpenChild(new CProgressDlg(CProgressDlg::kTextsOnly, false, job, this), kProgressDialog, false, true);
}

void CEditListsDlg::OpenExchange(bool importing)
{
    OpenChild(new CImportExportDlg(importing, *m_pConfig, this), kImportDialog, false, true);
}

void CEditListsDlg::OnReport()
{
    m_slotReport.Clear();
    OpenChild(
        new CProgressDlg(CProgressDlg::kTextsOnly, false, NewSlotReportJob(m_slotReport, *m_pLibrary), this),
        kProgressDialog, false, true);
}

void CEditListsDlg::OnChildClose(int templateId, int result)
{
    if (templateId == kImportDialog) {
        // An import may have added lists anywhere.
        Fill();
        UpdateButtons();
        return;
    }
    if (templateId == kSlotReportDialog) {
        m_slotReport.Clear();
        UpdateButtons();
        return;
    }
    if (templateId == kProgressDialog && result == kJobSlotReport) {
        OpenChild(new CSlotReportDlg(m_slotReport, this), kSlotReportDialog, false, true);
        return;
    }
    // A reload emptied the library and read it again, whatever its outcome: every node
    // points at what is gone.
    if (templateId == kProgressDialog && result == kJobCancelLists)
        Fill();
    // The frame has put the buttons back as they were when the child opened; the
    // selection may have changed since.
    UpdateButtons();
    if (templateId == kListingDialog) {
        if (m_bCloseAfterListing)
            Close(2);
        return;
    }
    if (templateId != kProgressDialog)
        return;
    if (result == kJobCancelLists) {
        if (m_bJobOk) {
            Close(2);
            return;
        }
        m_bCloseAfterListing = ReportFailure(this, &m_jobErrors, &m_jobWarnings);
        return;
    }
    if (result == kJobSaveLists) {
        if (m_bJobOk) {
            Close(1);
            return;
        }
        ReportFailure(this, &m_jobErrors, &m_jobWarnings);
        UpdateButtons();
    }
}

void RegisterLibraryEditors()
{
    RegisterEditor(EEditorKind::Lists, [](CTidemarkDialog* owner, const CEditorContext& context) {
        return new CEditListsDlg(context.config, context.wrapper, owner);
    });
}

void UnregisterLibraryEditors()
{
    RegisterEditor(EEditorKind::Lists, nullptr);
}
