// Dialogs torn down by the toolkit while children are open, as at the end of the
// program with an editor still open: every level is destroyed without touching the
// levels already gone.

#include "UiTestMain.h"
#include "UiTestSupport.h"

#include "ui/DialogIds.h"

#include <QTest>

#include <memory>

using namespace dwuitest;

class TeardownTest : public QObject
{
    Q_OBJECT

private slots:
    void parentDestroyedWithAChainOfOpenChildren()
    {
        const int depth = 3;
        auto top = std::make_unique<CRecordingDialog>();
        top->show();
        CTidemarkDialog* parent = top.get();
        for (int i = 0; i < depth; ++i) {
            auto* child = new CRecordingDialog(900 + i, parent);
            QVERIFY(parent->OpenChild(child, 900 + i, false, true));
            parent = child;
        }
        QCOMPARE(top->GetBusyCount(), unsigned(depth));
        top.reset(); // would crash if a child walked up into its destroyed parents
    }
};

DW_UI_TEST(TeardownTest)
#include "TeardownTest.moc"
