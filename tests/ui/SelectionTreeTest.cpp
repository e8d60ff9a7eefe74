// The selection tree: what it offers for each purpose, the non-unique marks, and the
// path it hands back.

#include "EditorTestSupport.h"
#include "UiTestMain.h"
#include "UiTestSupport.h"

#include "csf/CSFPath.h"
#include "ui/DialogIds.h"
#include "ui/SelectionTreeDlg.h"

#include <QPushButton>
#include <QTreeWidget>

using namespace dwuitest;

class SelectionTreeTest : public QObject
{
    Q_OBJECT

private slots:
    void offersWhatThePurposeNeeds_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QStringList>("node");
        QTest::addColumn<bool>("present");
        QTest::addColumn<bool>("choosable");
        using L = QStringList;
        QTest::newRow("jump: a device") << 0 << "Select Jump Panel" << L{"TV"} << true << false;
        QTest::newRow("jump: no buttons")
            << 0 << "Select Jump Panel" << L{"TV", "Main", "Play"} << false << false;
        QTest::newRow("jump: no hard buttons")
            << 0 << "Select Jump Panel" << L{"TV", "Hard Buttons"} << false << false;
        QTest::newRow("jump: shared panel name")
            << 0 << "Select Jump Panel" << L{"TV", "Extra  (non-unique name)"} << true << true;
        QTest::newRow("link: a panel") << 1 << "Select Link Button" << L{"TV", "Main"} << true << false;
        QTest::newRow("button: shared name")
            << 2 << "Select Button" << L{"TV", "Main", "Menu  (non-unique name)"} << true << true;
        QTest::newRow("button: a hard button")
            << 2 << "Select Button" << L{"TV", "Hard Buttons", "Mute"} << true << true;
        QTest::newRow("button: no hard buttons node for a device without")
            << 2 << "Select Button" << L{"Amp", "Hard Buttons"} << false << false;
    }
    void offersWhatThePurposeNeeds()
    {
        QFETCH(int, kind);
        QFETCH(QString, title);
        QFETCH(QStringList, node);
        QFETCH(bool, present);
        QFETCH(bool, choosable);
        CTestConfiguration ccf;
        CSelectionTreeDlg dialog(static_cast<ESelectKind>(kind), &ccf.tree);
        QCOMPARE(dialog.windowTitle(), title);
        QTreeWidgetItem* item = dialog.FindItem(node);
        QCOMPARE(item != nullptr, present);
        if (!item)
            return;
        dialog.GetTree()->setCurrentItem(item);
        QCOMPARE(dialog.GetOkButton()->isEnabled(), choosable);
    }
};

DW_UI_TEST(SelectionTreeTest)
#include "SelectionTreeTest.moc"
