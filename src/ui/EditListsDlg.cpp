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
#include "ui/EditorParts.h"
#include "ui/ImportExportDlg.h"
#include "ui/ProgressDlg.h"
#include "ui/ResultReport.h"
#include "ui/SlotReportDlg.h"
#include "ui/ThreadJob.h"
#include "ui/UserPrompts.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QHBoxLayout>
#include <QMimeData>
#include <QPushButton>
#include <QVBoxLayout>

#include <vector>

namespace {

constexpr int kKindRole = Qt::UserRole;
constexpr int kObjectRole = Qt::UserRole + 1;
constexpr int kFilledRole = Qt::UserRole + 2;

const void* ObjectOf(const QTreeWidgetItem* item)
{
    return item ? reinterpret_cast<const void*>(item->data(0, kObjectRole).value<quintptr>()) : nullptr;
}

template <class T> T* As(const QTreeWidgetItem* item)
{
    return const_cast<T*>(static_cast<const T*>(ObjectOf(item)));
}

bool IsFilled(const QTreeWidgetItem* item)
{
    return item->data(0, kFilledRole).toBool();
}

// The children of a node's object, in collection order.
std::vector<std::pair<CEditListsDlg::ENodeKind, const void*>> ChildrenOf(const QTreeWidgetItem* item)
{
    std::vector<std::pair<CEditListsDlg::ENodeKind, const void*>> children;
    switch (CEditListsDlg::KindOf(item)) {
    case CEditListsDlg::kRootNode:
        for (const CLibList* list : As<CLibrary>(item)->GetLists())
            children.emplace_back(CEditListsDlg::kListNode, list);
        break;
    case CEditListsDlg::kListNode:
        for (const CArtist* artist : As<CLibList>(item)->GetArtists())
            children.emplace_back(CEditListsDlg::kArtistNode, artist);
        break;
    case CEditListsDlg::kArtistNode:
        for (const CDisc* disc : As<CArtist>(item)->GetDiscs())
            children.emplace_back(CEditListsDlg::kDiscNode, disc);
        break;
    default:
        break;
    }
    return children;
}

bool HasChildren(CEditListsDlg::ENodeKind kind, const void* object)
{
    switch (kind) {
    case CEditListsDlg::kRootNode:
        return static_cast<const CLibrary*>(object)->GetLists().GetCount() > 0;
    case CEditListsDlg::kListNode:
        return static_cast<const CLibList*>(object)->GetArtists().GetCount() > 0;
    case CEditListsDlg::kArtistNode:
        return static_cast<const CArtist*>(object)->GetDiscs().GetCount() > 0;
    default:
        return false;
    }
}

const CTreeLabels& LabelsOf(CEditListsDlg::ENodeKind kind)
{
    static const CTreeLabels none{"Add", "Edit", "Delete", "Sort"};
    switch (kind) {
    case CEditListsDlg::kRootNode:
        return CLibrary::GetTreeLabels();
    case CEditListsDlg::kListNode:
        return CLibList::GetTreeLabels();
    case CEditListsDlg::kArtistNode:
        return CArtist::GetTreeLabels();
    case CEditListsDlg::kDiscNode:
        return CDisc::GetTreeLabels();
    default:
        return none;
    }
}

// What Move, Sort and Keep Sorted of a node act on: the collection the node is in (the
// lists for the root).
struct CSiblings
{
    bool present = false;
    bool keepSorted = false;
    bool first = true;
    bool last = true;
};

CSiblings SiblingsOf(const QTreeWidgetItem* item)
{
    CSiblings s;
    auto fill = [&s](const auto& collection, const auto* element) {
        s.present = true;
        s.keepSorted = collection.IsKeepSorted();
        if (element) {
            s.first = element->GetPosition() == 0;
            s.last = element->GetPosition() + 1 >= collection.GetCount();
        }
    };
    switch (CEditListsDlg::KindOf(item)) {
    case CEditListsDlg::kRootNode:
        fill(As<CLibrary>(item)->GetLists(), static_cast<const CLibList*>(nullptr));
        break;
    case CEditListsDlg::kListNode: {
        CLibList* list = As<CLibList>(item);
        fill(list->GetLibrary()->GetLists(), list);
        break;
    }
    case CEditListsDlg::kArtistNode: {
        CArtist* artist = As<CArtist>(item);
        fill(artist->GetList()->GetArtists(), artist);
        break;
    }
    case CEditListsDlg::kDiscNode: {
        CDisc* disc = As<CDisc>(item);
        fill(disc->GetArtist()->GetDiscs(), disc);
        break;
    }
    default:
        break;
    }
    return s;
}

QPushButton* MakeButton(const QString& text, const char* name, QWidget* parent)
{
    auto* button = new QPushButton(text, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setAutoDefault(false);
    return button;
}

} // namespace

// ---- the tree ---------------------------------------------------------------------------

CLibraryTree::CLibraryTree(CEditListsDlg* owner, QWidget* parent) : QTreeWidget(parent), m_pOwner(owner)
{
    setHeaderHidden(true);
    setUniformRowHeights(true);
    setDragEnabled(true);
    setAcceptDrops(true);
    setDropIndicatorShown(true);
    setDragDropMode(QAbstractItemView::DragDrop);
    setDefaultDropAction(Qt::MoveAction);
    UseProntoFont(this);
}

QMimeData* CLibraryTree::MakeDragData(QTreeWidgetItem* item) const
{
    if (CEditListsDlg::KindOf(item) != CEditListsDlg::kDiscNode)
        return nullptr;
    auto* data = new QMimeData;
    data->setData(QString::fromLatin1(kDiscMimeType),
                  QByteArray::number(reinterpret_cast<quintptr>(ObjectOf(item))));
    return data;
}

QMimeData* CLibraryTree::mimeData(const QList<QTreeWidgetItem*>& items) const
{
    return items.size() == 1 ? MakeDragData(items.front()) : nullptr;
}

QStringList CLibraryTree::mimeTypes() const
{
    return {QString::fromLatin1(kDiscMimeType)};
}

Qt::DropActions CLibraryTree::supportedDropActions() const
{
    return Qt::MoveAction;
}

void CLibraryTree::dragEnterEvent(QDragEnterEvent* event)
{
    if (m_pOwner->DiscFromDragData(event->mimeData()))
        event->acceptProposedAction();
    else
        event->ignore();
}

void CLibraryTree::dragMoveEvent(QDragMoveEvent* event)
{
    QTreeWidgetItem* target = itemAt(event->position().toPoint());
    auto kind = CEditListsDlg::KindOf(target);
    if (m_pOwner->DiscFromDragData(event->mimeData()) &&
        (kind == CEditListsDlg::kArtistNode || kind == CEditListsDlg::kDiscNode))
        event->acceptProposedAction();
    else
        event->ignore();
}

void CLibraryTree::dropEvent(QDropEvent* event)
{
    CDisc* disc = m_pOwner->DiscFromDragData(event->mimeData());
    QTreeWidgetItem* target = itemAt(event->position().toPoint());
    // The model moves the disc and the dialog moves its item: Qt must not remove the
    // dragged row itself.
    event->setDropAction(Qt::IgnoreAction);
    event->accept();
    if (disc && target)
        m_pOwner->DropDisc(m_pOwner->ItemFor(disc), target);
}

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
    connect(m_pSort, &QPushButton::clicked, this, &CEditListsDlg::OnSort);
    connect(m_pKeepSorted, &QCheckBox::clicked, this, &CEditListsDlg::OnKeepSorted);
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
    return item ? static_cast<ENodeKind>(item->data(0, kKindRole).toInt()) : kPlaceholder;
}

QTreeWidgetItem* CEditListsDlg::MakeItem(ENodeKind kind, const void* object, bool hasChildren)
{
    auto* item = new QTreeWidgetItem;
    item->setData(0, kKindRole, static_cast<int>(kind));
    item->setData(0, kObjectRole, QVariant::fromValue(reinterpret_cast<quintptr>(object)));
    item->setData(0, kFilledRole, false);
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (kind == kDiscNode)
        flags |= Qt::ItemIsDragEnabled;
    if (kind == kDiscNode || kind == kArtistNode)
        flags |= Qt::ItemIsDropEnabled;
    item->setFlags(flags);
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
    std::string text;
    switch (KindOf(item)) {
    case kRootNode:
        text = As<CLibrary>(item)->GetDisplayText();
        break;
    case kListNode:
        text = As<CLibList>(item)->GetDisplayText();
        break;
    case kArtistNode:
        text = As<CArtist>(item)->GetDisplayText();
        break;
    case kDiscNode:
        text = As<CDisc>(item)->GetDisplayText();
        break;
    default:
        break;
    }
    item->setText(0, BytesToField(text));
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
    if (!item || IsFilled(item) || KindOf(item) == kDiscNode || KindOf(item) == kPlaceholder)
        return;
    item->setData(0, kFilledRole, true);
    QList<QTreeWidgetItem*> placeholder = item->takeChildren();
    qDeleteAll(placeholder);
    QList<QTreeWidgetItem*> children;
    for (auto [kind, object] : ChildrenOf(item))
        children << MakeItem(kind, object, HasChildren(kind, object));
    item->addChildren(children);
}

void CEditListsDlg::ForgetItem(QTreeWidgetItem* item)
{
    for (int i = 0; i < item->childCount(); ++i)
        ForgetItem(item->child(i));
    auto it = m_items.find(ObjectOf(item));
    if (it != m_items.end() && it->second == item)
        m_items.erase(it);
}

void CEditListsDlg::Sync(QTreeWidgetItem* item)
{
    if (!item)
        return;
    auto children = ChildrenOf(item);
    if (!IsFilled(item)) {
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
            child = MakeItem(kind, object, HasChildren(kind, object));
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

QTreeWidgetItem* CEditListsDlg::ParentItemOf(QTreeWidgetItem* item)
{
    return item ? item->parent() : nullptr;
}

QTreeWidgetItem* CEditListsDlg::ItemFor(const void* object)
{
    if (!object)
        return nullptr;
    auto it = m_items.find(object);
    if (it != m_items.end())
        return it->second;
    // Fill the levels above it.
    const void* above = nullptr;
    for (CLibList* list : m_pLibrary->GetLists()) {
        if (list == object)
            above = m_pLibrary;
        for (CArtist* artist : list->GetArtists()) {
            if (artist == object)
                above = list;
            else if (artist->GetDiscs().Contains(static_cast<const CDisc*>(object)) == object)
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
    const CTreeLabels& labels = LabelsOf(kind);
    m_pAdd->setText(QString::fromLatin1(labels.add));
    m_pEdit->setText(QString::fromLatin1(labels.edit));
    m_pDelete->setText(QString::fromLatin1(labels.remove));
    m_pSort->setText(QString::fromLatin1(labels.sort));
    if (!IsIdle())
        return;
    bool node = kind != kPlaceholder;
    CSiblings siblings = SiblingsOf(item);
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
        CLibList* list = As<CLibList>(item);
        OpenDiscEditor(nullptr, list, list->GetArtists().GetFirst(), item);
        break;
    }
    case kArtistNode: {
        CArtist* artist = As<CArtist>(item);
        OpenDiscEditor(nullptr, artist->GetList(), artist, item);
        break;
    }
    case kDiscNode: {
        CDisc* disc = As<CDisc>(item);
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
        OpenListEditor(As<CLibList>(item));
        break;
    case kArtistNode:
        OpenArtistEditor(As<CArtist>(item));
        break;
    case kDiscNode: {
        CDisc* disc = As<CDisc>(item);
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
        player = As<CDisc>(from)->GetPlayer();
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
    const void* object = ObjectOf(item);
    std::string question;
    switch (kind) {
    case kListNode:
        question = As<CLibList>(item)->GetDeleteQuestion();
        break;
    case kArtistNode:
        question = As<CArtist>(item)->GetDeleteQuestion();
        break;
    case kDiscNode:
        question = As<CDisc>(item)->GetDeleteQuestion();
        break;
    default:
        return;
    }
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
    bool moved = false;
    switch (KindOf(item)) {
    case kListNode: {
        CLibList* list = As<CLibList>(item);
        moved = up ? m_pLibrary->GetLists().MoveUp(list) : m_pLibrary->GetLists().MoveDown(list);
        break;
    }
    case kArtistNode: {
        CArtist* artist = As<CArtist>(item);
        auto& artists = artist->GetList()->GetArtists();
        moved = up ? artists.MoveUp(artist) : artists.MoveDown(artist);
        break;
    }
    case kDiscNode: {
        CDisc* disc = As<CDisc>(item);
        auto& discs = disc->GetArtist()->GetDiscs();
        moved = up ? discs.MoveUp(disc) : discs.MoveDown(disc);
        break;
    }
    default:
        return;
    }
    if (moved) {
        const void* object = ObjectOf(item);
        Sync(item->parent());
        SelectObject(object);
    }
    UpdateButtons();
}

void CEditListsDlg::OnSort()
{
    QTreeWidgetItem* item = m_pTree->currentItem();
    QTreeWidgetItem* parent = item;
    switch (KindOf(item)) {
    case kRootNode:
        m_pLibrary->GetLists().Sort();
        break;
    case kListNode:
        m_pLibrary->GetLists().Sort();
        parent = item->parent();
        break;
    case kArtistNode:
        As<CArtist>(item)->GetList()->GetArtists().Sort();
        parent = item->parent();
        break;
    case kDiscNode:
        As<CDisc>(item)->GetArtist()->GetDiscs().Sort();
        parent = item->parent();
        break;
    default:
        return;
    }
    Sync(parent);
    m_pTree->setCurrentItem(item);
    UpdateButtons();
}

void CEditListsDlg::OnKeepSorted(bool on)
{
    QTreeWidgetItem* item = m_pTree->currentItem();
    QTreeWidgetItem* parent = item;
    switch (KindOf(item)) {
    case kRootNode:
        m_pLibrary->GetLists().SetKeepSorted(on);
        break;
    case kListNode:
        m_pLibrary->GetLists().SetKeepSorted(on);
        parent = item->parent();
        break;
    case kArtistNode:
        As<CArtist>(item)->GetList()->GetArtists().SetKeepSorted(on);
        parent = item->parent();
        break;
    case kDiscNode:
        As<CDisc>(item)->GetArtist()->GetDiscs().SetKeepSorted(on);
        parent = item->parent();
        break;
    default:
        return;
    }
    Sync(parent);
    m_pTree->setCurrentItem(item);
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
    return As<CDisc>(it->second);
}

void CEditListsDlg::DropDisc(QTreeWidgetItem* discItem, QTreeWidgetItem* target)
{
    if (!IsIdle() || KindOf(discItem) != kDiscNode)
        return;
    CDisc* disc = As<CDisc>(discItem);
    CArtist* to = KindOf(target) == kArtistNode ? As<CArtist>(target)
                  : KindOf(target) == kDiscNode ? As<CDisc>(target)->GetArtist()
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
        return;
    }
    if (templateId == kSlotReportDialog) {
        m_slotReport.Clear();
        return;
    }
    if (templateId == kProgressDialog && result == kJobSlotReport) {
        OpenChild(new CSlotReportDlg(m_slotReport, this), kSlotReportDialog, false, true);
        return;
    }
    if (templateId == kListingDialog) {
        if (m_bCloseAfterListing)
            Close(2);
        return;
    }
    if (templateId != kProgressDialog)
        return;
    if (result == kJobCancelLists) {
        // The library was emptied and read again: every node points at what is gone.
        Fill();
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
