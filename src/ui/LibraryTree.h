#pragma once

// The library tree of Edit Lists: what each node stands for (the library, a list, an
// artist or a disc; a placeholder gives an unfilled node its expander), what it shows
// and offers, and the tree widget that hands drops of discs to its dialog.

#include "model/TreePresentation.h"

#include <QTreeWidget>

#include <string>
#include <utility>
#include <vector>

class CEditListsDlg;
class CLibrary;
class CLibList;
class CArtist;
class CDisc;

enum ELibraryNode : int { kPlaceholderNode = 0, kRootNode, kListNode, kArtistNode, kDiscNode };

// A node for object (not yet in a tree); discs can be dragged, artists and discs are
// drop targets.
QTreeWidgetItem* MakeNode(ELibraryNode kind, const void* object);
ELibraryNode NodeKind(const QTreeWidgetItem* item);
const void* NodeObject(const QTreeWidgetItem* item);
template <class T> T* NodeAs(const QTreeWidgetItem* item)
{
    return const_cast<T*>(static_cast<const T*>(NodeObject(item)));
}
// A node whose children have been made (levels are made when first expanded).
bool IsNodeFilled(const QTreeWidgetItem* item);
void SetNodeFilled(QTreeWidgetItem* item);

// The node's text, its children in collection order, the labels of its buttons and
// its delete question (empty: deleted without asking).
std::string NodeText(const QTreeWidgetItem* item);
std::vector<std::pair<ELibraryNode, const void*>> NodeChildren(const QTreeWidgetItem* item);
bool NodeHasChildren(ELibraryNode kind, const void* object);
const CTreeLabels& NodeLabels(ELibraryNode kind);
std::string NodeDeleteQuestion(const QTreeWidgetItem* item);

// Move, Sort and Keep Sorted act on the collection a node is in (the lists for the
// root). Calls f with that collection and returns the node whose children it holds;
// null for a placeholder or no node.
template <class F> QTreeWidgetItem* WithSiblings(const QTreeWidgetItem* item, F f);

struct CNodeSiblings
{
    bool present = false; // the node is in a collection
    bool keepSorted = false;
    bool first = true; // no element before it (always for the root)
    bool last = true;
};
CNodeSiblings NodeSiblings(const QTreeWidgetItem* item);

class CLibraryTree : public QTreeWidget
{
    Q_OBJECT

public:
    static constexpr const char* kDiscMimeType = "application/x-discweaver-disc";

    CLibraryTree(CEditListsDlg* owner, QWidget* parent);
    // What dragging the disc of item carries (null for other nodes).
    QMimeData* MakeDragData(QTreeWidgetItem* item) const;

protected:
    QMimeData* mimeData(const QList<QTreeWidgetItem*>& items) const override;
    QStringList mimeTypes() const override;
    Qt::DropActions supportedDropActions() const override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    CEditListsDlg* m_pOwner;
};

#include "model/Library.h"

template <class F> QTreeWidgetItem* WithSiblings(const QTreeWidgetItem* item, F f)
{
    switch (NodeKind(item)) {
    case kRootNode:
        f(NodeAs<CLibrary>(item)->GetLists());
        return const_cast<QTreeWidgetItem*>(item);
    case kListNode:
        f(NodeAs<CLibList>(item)->GetLibrary()->GetLists());
        return item->parent();
    case kArtistNode:
        f(NodeAs<CArtist>(item)->GetList()->GetArtists());
        return item->parent();
    case kDiscNode:
        f(NodeAs<CDisc>(item)->GetArtist()->GetDiscs());
        return item->parent();
    default:
        return nullptr;
    }
}
