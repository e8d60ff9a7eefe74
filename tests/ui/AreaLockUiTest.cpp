// The main window's chains hold the configuration area's lock, so that a command run on
// the same area meanwhile is refused instead of mixing its work with ours, and read
// first what such a run saved while the window waited.

#include "DemoArea.h"
#include "UiTestMain.h"
#include "UiTestSupport.h"

#include "core/AreaLock.h"
#include "model/DWModel.h"
#include "model/LibList.h"
#include "model/Library.h"
#include "ui/EditListsDlg.h"
#include "ui/EditorHooks.h"
#include "ui/MainWindow.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <filesystem>

using namespace dwuitest;

namespace {

// Whether another run could take the area now.
bool AreaIsFree(const std::string& area)
{
    CAreaLock other;
    return other.Acquire(area.c_str(), nullptr);
}

} // namespace

class AreaLockUiTest : public QObject
{
    Q_OBJECT

private slots:
    void init() { m_oldWait = SetAreaLockWait(50); }
    void cleanup() { SetAreaLockWait(m_oldWait); }

    void executeIsRefusedWhileAnotherRunHoldsTheArea()
    {
        DW_LOAD_DEMO(demo);
        CScriptedPrompts prompts;
        CMainWindow window(&demo.Config(), &demo.Wrapper());
        window.show();
        const std::string output = demo.File("out.ccf");
        window.GetInputEdit()->setText(QString::fromStdString(DW_DEMO_CCF));
        window.GetOutputEdit()->setText(QString::fromStdString(output));

        CAreaLock other;
        QVERIFY(other.Acquire(demo.Area().c_str(), nullptr));
        window.OnExecute();
        QVERIFY(QTest::qWaitFor([&]() { return window.IsIdle(); }, kDemoJobTimeoutMs));
        QVERIFY(!window.GetLastSucceeded());
        QCOMPARE(prompts.asked.size(), size_t(1));
        QVERIFY2(prompts.asked[0].text.contains(QStringLiteral("another Discweaver run")),
                 qPrintable(prompts.asked[0].text));
        QVERIFY(!std::filesystem::exists(output));

        // Once the other run has ended, the same window goes on.
        other.Release();
        prompts.asked.clear();
        window.OnExecute();
        QVERIFY(QTest::qWaitFor([&]() { return window.IsIdle(); }, kDemoJobTimeoutMs));
        QVERIFY2(window.GetLastSucceeded(), GetText(&window.GetErrors()));
        QVERIFY(std::filesystem::exists(output));
        QVERIFY(AreaIsFree(demo.Area()));
    }

    void anOpenEditorKeepsTheAreaUntilItCloses()
    {
        DW_LOAD_DEMO(demo);
        CScriptedPrompts prompts;
        RegisterLibraryEditors();
        CMainWindow window(&demo.Config(), &demo.Wrapper());
        window.show();
        window.GetInputEdit()->setText(QString::fromStdString(DW_DEMO_CCF));
        window.GetOutputEdit()->setText(QString::fromStdString(demo.File("out.ccf")));

        {
            // Another run adds a list while the window waits.
            CDWConfig other;
            other.SetConfigArea(demo.Area().c_str());
            AttachModel(other);
            CErrorRecord errors;
            CWarningList warnings;
            QVERIFY(other.LoadPlayers(&errors, &warnings) && other.LoadLibrary(&errors, &warnings));
            auto* list = new CLibList(&GetLibrary(other));
            list->GetName().SetPlain("Blue Note");
            QVERIFY(GetLibrary(other).GetLists().Add(nullptr, list));
            QVERIFY(other.SaveLibrary(&errors));
        }
        QTest::mouseClick(window.GetListsButton(), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(qobject_cast<CEditListsDlg*>(window.GetOpenChild()), kDemoJobTimeoutMs);
        QVERIFY(!AreaIsFree(demo.Area()));
        QVERIFY(GetLibrary(demo.Config()).GetLists().FindByName("Blue Note"));
        window.GetOpenChild()->reject();
        QTRY_VERIFY_WITH_TIMEOUT(!window.GetOpenChild() && window.IsIdle(), kDemoJobTimeoutMs);
        QVERIFY(AreaIsFree(demo.Area()));
    }

private:
    unsigned m_oldWait = 0;
};

DW_UI_TEST(AreaLockUiTest)
#include "AreaLockUiTest.moc"
