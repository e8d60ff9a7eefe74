#include "ui/SelectionTreeDlg.h"

#include "core/Registry.h"
#include "csf/CSFAbstractTree.h"
#include "csf/CSFPath.h"
#include "ui/ByteText.h"
#include "ui/DialogIds.h"
#include "ui/UserPrompts.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <memory>

namespace {

// What a node stands for, kept in its data.
enum ENodeKind { kDeviceNode = 1, kPanelNode, kHardButtonsNode, kButtonNode };
constexpr int kKindRole = Qt::UserRole;
constexpr int kElementRole = Qt::UserRole + 1;

QString NodeText(const CCSFElement& element)
{
    QString name = NameToField(element.GetName());
    return element.IsUnique() ? name : QStringLiteral("%1  (non-unique name)").arg(name);
}

QTreeWidgetItem* MakeNode(QTreeWidgetItem* parent, const QString& text, ENodeKind kind, const void* element)
{
    auto* item = new QTreeWidgetItem(parent, QStringList(text));
    item->setData(0, kKindRole, static_cast<int>(kind));
    item->setData(0, kElementRole, QVariant::fromValue(reinterpret_cast<quintptr>(element)));
    return item;
}

int KindOf(const QTreeWidgetItem* item)
{
    return item ? item->data(0, kKindRole).toInt() : 0;
}

template <class T> const T* ElementOf(const QTreeWidgetItem* item)
{
    return reinterpret_cast<const T*>(item->data(0, kElementRole).value<quintptr>());
}

} // namespace

QString CSelectionTreeDlg::Title(ESelectKind kind)
{
    switch (kind) {
    case ESelectKind::JumpPanel:
        return QStringLiteral("Select Jump Panel");
    case ESelectKind::LinkButton:
        return QStringLiteral("Select Link Button");
    case ESelectKind::Button:
        break;
    }
    return QStringLiteral("Select Button");
}

CSelectionTreeDlg::CSelectionTreeDlg(ESelectKind kind, const CCSFAbstractTree* tree, QWidget* parent)
    : CTidemarkDialog(kSelectionTreeDialog, parent), m_kind(kind), m_pCsfTree(tree)
{
    setWindowTitle(Title(kind));
    m_pTree = new QTreeWidget(Body());
    m_pTree->setHeaderHidden(true);
    m_pTree->setUniformRowHeights(true);
    UseProntoFont(m_pTree);
    auto* box = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, Body());
    m_pOk = box->button(QDialogButtonBox::Ok);
    connect(box, &QDialogButtonBox::accepted, this, &CSelectionTreeDlg::accept);
    connect(box, &QDialogButtonBox::rejected, this, &CSelectionTreeDlg::reject);
    connect(m_pTree, &QTreeWidget::currentItemChanged, this, &CSelectionTreeDlg::UpdateOk);
    connect(m_pTree, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* item) {
        if (IsChoosable(item))
            accept();
    });
    auto* layout = new QVBoxLayout(Body());
    layout->addWidget(m_pTree, 1);
    layout->addWidget(box);
    resize(360, 420);
    Fill();
    UpdateOk();
}

bool CSelectionTreeDlg::Fill()
{
    m_pTree->clear();
    if (!m_pCsfTree)
        return false;
    bool buttons = m_kind != ESelectKind::JumpPanel;
    for (const CCSFDevice* device : *m_pCsfTree) {
        QTreeWidgetItem* deviceNode = MakeNode(nullptr, NodeText(*device), kDeviceNode, device);
        m_pTree->addTopLevelItem(deviceNode);
        for (const CCSFPanel* panel : device->GetPanels()) {
            QTreeWidgetItem* panelNode = MakeNode(deviceNode, NodeText(*panel), kPanelNode, panel);
            if (!buttons)
                continue;
            for (const CCSFButton* button : panel->GetButtons())
                MakeNode(panelNode, NodeText(*button), kButtonNode, button);
        }
        if (buttons && device->GetHardButtons().GetCount() > 0) {
            QTreeWidgetItem* hard =
                MakeNode(deviceNode, QStringLiteral("Hard Buttons"), kHardButtonsNode, device);
            for (const CCSFButton* button : device->GetHardButtons())
                MakeNode(hard, NodeText(*button), kButtonNode, button);
        }
    }
    return true;
}

bool CSelectionTreeDlg::OnInitDialog()
{
    if (!m_pCsfTree) {
        ShowMessage(this, QStringLiteral("Error populating tree"), QStringLiteral("Discweaver Error"),
                    EPromptIcon::Exclamation);
        return false;
    }
    RestoreWindowSize(kWindowPosKey, "ATSelect");
    return true;
}

bool CSelectionTreeDlg::IsChoosable(const QTreeWidgetItem* item) const
{
    int kind = KindOf(item);
    return m_kind == ESelectKind::JumpPanel ? kind == kPanelNode : kind == kButtonNode;
}

void CSelectionTreeDlg::UpdateOk()
{
    m_pOk->setEnabled(IsChoosable(m_pTree->currentItem()));
}

bool CSelectionTreeDlg::ValidateData()
{
    QTreeWidgetItem* item = m_pTree->currentItem();
    if (!IsChoosable(item))
        return false;
    if (m_chosen) {
        if (m_kind == ESelectKind::JumpPanel) {
            std::unique_ptr<CCSFPanelPath> path(ElementOf<CCSFPanel>(item)->MakePath());
            m_chosen(path.get(), nullptr);
        } else {
            std::unique_ptr<CCSFButtonPath> path(ElementOf<CCSFButton>(item)->MakePath());
            m_chosen(nullptr, path.get());
        }
    }
    return true;
}

QTreeWidgetItem* CSelectionTreeDlg::FindItem(const QStringList& texts) const
{
    QTreeWidgetItem* found = nullptr;
    for (const QString& text : texts) {
        QTreeWidgetItem* next = nullptr;
        int count = found ? found->childCount() : m_pTree->topLevelItemCount();
        for (int i = 0; i < count && !next; ++i) {
            QTreeWidgetItem* child = found ? found->child(i) : m_pTree->topLevelItem(i);
            if (child->text(0) == text)
                next = child;
        }
        if (!next)
            return nullptr;
        found = next;
    }
    return found;
}

void CSelectionTreeDlg::SelectPath(const char* device, const char* panel, const char* button)
{
    CNameText deviceName = CNameText::FromPlain(device);
    CNameText panelName = CNameText::FromPlain(panel ? panel : "");
    CNameText buttonName = CNameText::FromPlain(button ? button : "");
    bool hard = button && !panelName.HasText();
    for (int d = 0; d < m_pTree->topLevelItemCount(); ++d) {
        QTreeWidgetItem* deviceNode = m_pTree->topLevelItem(d);
        if (!ElementOf<CCSFDevice>(deviceNode)->GetName().SameName(deviceName))
            continue;
        for (int p = 0; p < deviceNode->childCount(); ++p) {
            QTreeWidgetItem* node = deviceNode->child(p);
            bool match = hard ? KindOf(node) == kHardButtonsNode
                              : KindOf(node) == kPanelNode &&
                                    ElementOf<CCSFPanel>(node)->GetName().SameName(panelName);
            if (!match)
                continue;
            if (!button) {
                m_pTree->setCurrentItem(node);
                return;
            }
            for (int b = 0; b < node->childCount(); ++b) {
                if (ElementOf<CCSFButton>(node->child(b))->GetName().SameName(buttonName)) {
                    m_pTree->setCurrentItem(node->child(b));
                    return;
                }
            }
        }
    }
}
