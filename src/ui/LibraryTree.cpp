#include "ui/LibraryTree.h"

#include "model/Library.h"
#include "ui/ByteText.h"
#include "ui/EditListsDlg.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>

namespace {

constexpr int kKindRole = Qt::UserRole;
constexpr int kObjectRole = Qt::UserRole + 1;
constexpr int kFilledRole = Qt::UserRole + 2;

} // namespace

const void* NodeObject(const QTreeWidgetItem* item)
{
    return item ? reinterpret_cast<const void*>(item->data(0, kObjectRole).value<quintptr>()) : nullptr;
}

ELibraryNode NodeKind(const QTreeWidgetItem* item)
{
    return item ? static_cast<ELibraryNode>(item->data(0, kKindRole).toInt()) : kPlaceholderNode;
}

bool IsNodeFilled(const QTreeWidgetItem* item)
{
    return item->data(0, kFilledRole).toBool();
}

void SetNodeFilled(QTreeWidgetItem* item)
{
    item->setData(0, kFilledRole, true);
}

QTreeWidgetItem* MakeNode(ELibraryNode kind, const void* object)
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
    return item;
}

std::string NodeText(const QTreeWidgetItem* item)
{
    switch (NodeKind(item)) {
    case kRootNode:
        return NodeAs<CLibrary>(item)->GetDisplayText();
    case kListNode:
        return NodeAs<CLibList>(item)->GetDisplayText();
    case kArtistNode:
        return NodeAs<CArtist>(item)->GetDisplayText();
    case kDiscNode:
        return NodeAs<CDisc>(item)->GetDisplayText();
    default:
        return std::string();
    }
}

std::vector<std::pair<ELibraryNode, const void*>> NodeChildren(const QTreeWidgetItem* item)
{
    std::vector<std::pair<ELibraryNode, const void*>> children;
    switch (NodeKind(item)) {
    case kRootNode:
        for (const CLibList* list : NodeAs<CLibrary>(item)->GetLists())
            children.emplace_back(kListNode, list);
        break;
    case kListNode:
        for (const CArtist* artist : NodeAs<CLibList>(item)->GetArtists())
            children.emplace_back(kArtistNode, artist);
        break;
    case kArtistNode:
        for (const CDisc* disc : NodeAs<CArtist>(item)->GetDiscs())
            children.emplace_back(kDiscNode, disc);
        break;
    default:
        break;
    }
    return children;
}

bool NodeHasChildren(ELibraryNode kind, const void* object)
{
    switch (kind) {
    case kRootNode:
        return static_cast<const CLibrary*>(object)->GetLists().GetCount() > 0;
    case kListNode:
        return static_cast<const CLibList*>(object)->GetArtists().GetCount() > 0;
    case kArtistNode:
        return static_cast<const CArtist*>(object)->GetDiscs().GetCount() > 0;
    default:
        return false;
    }
}

const CTreeLabels& NodeLabels(ELibraryNode kind)
{
    static const CTreeLabels none{"Add", "Edit", "Delete", "Sort"};
    switch (kind) {
    case kRootNode:
        return CLibrary::GetTreeLabels();
    case kListNode:
        return CLibList::GetTreeLabels();
    case kArtistNode:
        return CArtist::GetTreeLabels();
    case kDiscNode:
        return CDisc::GetTreeLabels();
    default:
        return none;
    }
}

std::string NodeDeleteQuestion(const QTreeWidgetItem* item)
{
    switch (NodeKind(item)) {
    case kListNode:
        return NodeAs<CLibList>(item)->GetDeleteQuestion();
    case kArtistNode:
        return NodeAs<CArtist>(item)->GetDeleteQuestion();
    case kDiscNode:
        return NodeAs<CDisc>(item)->GetDeleteQuestion();
    default:
        return std::string();
    }
}

CNodeSiblings NodeSiblings(const QTreeWidgetItem* item)
{
    CNodeSiblings s;
    WithSiblings(item, [&s, item](auto& collection) {
        s.present = true;
        s.keepSorted = collection.IsKeepSorted();
        if (NodeKind(item) != kRootNode) {
            auto* element = NodeAs<std::remove_pointer_t<decltype(collection.GetFirst())>>(item);
            s.first = element->GetPosition() == 0;
            s.last = element->GetPosition() + 1 >= collection.GetCount();
        }
    });
    return s;
}

// ---- the tree widget --------------------------------------------------------------------

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
    if (NodeKind(item) != kDiscNode)
        return nullptr;
    auto* data = new QMimeData;
    data->setData(QString::fromLatin1(kDiscMimeType),
                  QByteArray::number(reinterpret_cast<quintptr>(NodeObject(item))));
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
    ELibraryNode kind = NodeKind(itemAt(event->position().toPoint()));
    if (m_pOwner->DiscFromDragData(event->mimeData()) && (kind == kArtistNode || kind == kDiscNode))
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
