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
        QTest::newRow("jump: a panel") << 0 << "Select Jump Panel" << L{"TV", "Guide"} << true << true;
        QTest::newRow("jump: a device") << 0 << "Select Jump Panel" << L{"TV"} << true << false;
        QTest::newRow("jump: no buttons")
            << 0 << "Select Jump Panel" << L{"TV", "Main", "Play"} << false << false;
        QTest::newRow("jump: no hard buttons")
            << 0 << "Select Jump Panel" << L{"TV", "Hard Buttons"} << false << false;
        QTest::newRow("jump: shared panel name")
            << 0 << "Select Jump Panel" << L{"TV", "Extra  (non-unique name)"} << true << true;
        QTest::newRow("link: a button")
            << 1 << "Select Link Button" << L{"TV", "Main", "Stop"} << true << true;
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

    void okHandsBackThePathOfTheChosenNode_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QStringList>("node");
        QTest::addColumn<QString>("description");
        QTest::newRow("panel") << 0 << QStringList{"TV", "Guide"} << "TV, Guide";
        QTest::newRow("button") << 2 << QStringList{"Amp", "Vol", "Up"} << "Amp, Vol, Up";
        QTest::newRow("hard button") << 1 << QStringList{"TV", "Hard Buttons", "Left"} << "TV, Left";
    }
    void okHandsBackThePathOfTheChosenNode()
    {
        QFETCH(int, kind);
        QFETCH(QStringList, node);
        QFETCH(QString, description);
        CTestConfiguration ccf;
        CRecordingDialog owner;
        owner.show();
        auto* dialog = new CSelectionTreeDlg(static_cast<ESelectKind>(kind), &ccf.tree, &owner);
        QString chosen;
        dialog->SetOnChosen([&](const CCSFPanelPath* panel, const CCSFButtonPath* button) {
            chosen = QString::fromLatin1(panel ? panel->GetDescription() : button->GetDescription());
        });
        QVERIFY(owner.OpenChild(dialog, kSelectionTreeDialog, false, true));
        QTreeWidgetItem* item = dialog->FindItem(node);
        QVERIFY(item);
        dialog->GetTree()->setCurrentItem(item);
        QTest::mouseClick(dialog->GetOkButton(), Qt::LeftButton);
        QTRY_COMPARE(owner.childCloses.size(), size_t(1));
        QCOMPARE(chosen, description);
    }

    void selectPathFindsTheStoredChoice()
    {
        CTestConfiguration ccf;
        CSelectionTreeDlg dialog(ESelectKind::Button, &ccf.tree);
        dialog.SelectPath("amp", "VOL", "up");
        QCOMPARE(dialog.GetTree()->currentItem(), dialog.FindItem({"Amp", "Vol", "Up"}));
        dialog.SelectPath("TV", "", "mute");
        QCOMPARE(dialog.GetTree()->currentItem(), dialog.FindItem({"TV", "Hard Buttons", "Mute"}));
    }

    void withoutAConfigurationItCannotOpen()
    {
        CScriptedPrompts prompts;
        CRecordingDialog owner;
        owner.show();
        QVERIFY(!owner.OpenChild(new CSelectionTreeDlg(ESelectKind::JumpPanel, nullptr, &owner),
                                 kSelectionTreeDialog, false, true));
        QCOMPARE(prompts.asked.size(), size_t(1));
        QCOMPARE(prompts.asked[0].text, QStringLiteral("Error populating tree"));
        QVERIFY(owner.IsIdle());
    }
};

DW_UI_TEST(SelectionTreeTest)
#include "SelectionTreeTest.moc"
