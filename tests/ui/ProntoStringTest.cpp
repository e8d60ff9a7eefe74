// The Pronto String dialog: the character tabs, insertion at the caret, and OK writing
// back into the field it was opened for as single bytes.

#include "EditorTestSupport.h"
#include "UiTestMain.h"
#include "UiTestSupport.h"

#include "ui/ByteText.h"
#include "ui/DialogIds.h"
#include "ui/ProntoStringDlg.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>

#include <set>

using namespace dwuitest;

namespace {

// The index of byte on tab, found by what its button inserts rather than by the table.
int ButtonFor(CProntoStringDlg& dialog, int tab, unsigned char byte)
{
    dialog.GetTabs()->setCurrentIndex(tab);
    for (int i = 0; i < CProntoStringDlg::kButtonCount; ++i) {
        dialog.GetEdit()->clear();
        QTest::mouseClick(dialog.GetButton(i), Qt::LeftButton);
        if (FieldToBytes(dialog.GetEdit()->text()) == std::string(1, static_cast<char>(byte)))
            return i;
    }
    return -1;
}

} // namespace

class ProntoStringTest : public QObject
{
    Q_OBJECT

private slots:
    void insertsSymbolBytesAtTheCaretAndWritesThemBack()
    {
        CRecordingDialog owner;
        auto* field = MakeNameEdit(owner.Body());
        field->setText(QStringLiteral("AB"));
        owner.show();
        auto* dialog = new CProntoStringDlg(QStringLiteral("Artist Name"), field, &owner);
        QVERIFY(owner.OpenChild(dialog, kProntoStringDialog, false, true));
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Artist Name"));
        int b85 = ButtonFor(*dialog, 0, 0x85);
        int bB6 = ButtonFor(*dialog, 0, 0xB6);
        QVERIFY(b85 >= 0 && bB6 >= 0);

        dialog->GetEdit()->setText(QStringLiteral("AB"));
        dialog->GetEdit()->setCursorPosition(1);
        QTest::mouseClick(dialog->GetButton(b85), Qt::LeftButton);
        QTest::mouseClick(dialog->GetButton(bB6), Qt::LeftButton);
        QCOMPARE(field->text(), QStringLiteral("AB")); // nothing written before OK
        dialog->accept();
        QTRY_COMPARE(owner.childCloses.size(), size_t(1));
        QCOMPARE(FieldToBytes(field->text()), std::string("A\x85\xB6"
                                                          "B"));
    }
};

DW_UI_TEST(ProntoStringTest)
#include "ProntoStringTest.moc"
