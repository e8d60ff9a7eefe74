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

    void cancelLeavesTheFieldAlone()
    {
        CRecordingDialog owner;
        auto* field = MakeNameEdit(owner.Body());
        field->setText(QStringLiteral("keep"));
        owner.show();
        auto* dialog = new CProntoStringDlg(QStringLiteral("Disc / Item Name"), field, &owner);
        QVERIFY(owner.OpenChild(dialog, kProntoStringDialog, false, true));
        QTest::mouseClick(dialog->GetButton(0), Qt::LeftButton);
        dialog->reject();
        QTRY_COMPARE(owner.childCloses.size(), size_t(1));
        QCOMPARE(field->text(), QStringLiteral("keep"));
    }

    // Every tab offers 48 different characters, so no button repeats another.
    void tabsHoldFortyEightDistinctCharacters()
    {
        CProntoStringDlg dialog(QString(), nullptr);
        QCOMPARE(dialog.GetTabs()->count(), 4);
        QStringList names;
        for (int t = 0; t < 4; ++t)
            names << dialog.GetTabs()->tabText(t);
        QCOMPARE(names, (QStringList{"Symbols 1", "Symbols 2", "Lowercase", "Uppercase"}));
        for (int t = 0; t < 4; ++t) {
            std::set<std::string> typed;
            dialog.GetTabs()->setCurrentIndex(t);
            for (int i = 0; i < CProntoStringDlg::kButtonCount; ++i) {
                dialog.GetEdit()->clear();
                QTest::mouseClick(dialog.GetButton(i), Qt::LeftButton);
                typed.insert(FieldToBytes(dialog.GetEdit()->text()));
            }
            QCOMPARE(typed.size(), size_t(48));
        }
    }

    // Rows of a United States keyboard, unshifted and shifted (apostrophe and space
    // stay as they are).
    void keyboardTabsFollowTheKeyboard_data()
    {
        QTest::addColumn<int>("tab");
        QTest::addColumn<QString>("keys");
        QTest::newRow("Lowercase") << 2
                                   << QStringLiteral("1234567890-=qwertyuiop[]`asdfghjkl;' zxcvbnm,./\\");
        QTest::newRow("Uppercase") << 3 << QStringLiteral("!@#$%^&*()_+QWERTYUIOP{}~ASDFGHJKL:' ZXCVBNM<>?|");
    }
    void keyboardTabsFollowTheKeyboard()
    {
        QFETCH(int, tab);
        QFETCH(QString, keys);
        CProntoStringDlg dialog(QString(), nullptr);
        dialog.GetTabs()->setCurrentIndex(tab);
        dialog.GetEdit()->clear();
        for (int i = 0; i < CProntoStringDlg::kButtonCount; ++i)
            QTest::mouseClick(dialog.GetButton(i), Qt::LeftButton);
        QCOMPARE(dialog.GetEdit()->text(), keys);
    }

    void ampersandIsShownDoubledAndSymbolsCarryTheirHexValue()
    {
        CProntoStringDlg dialog(QString(), nullptr);
        dialog.GetTabs()->setCurrentIndex(3);
        QVERIFY(FindButton<QPushButton>(&dialog, QStringLiteral("&&")));
        dialog.GetTabs()->setCurrentIndex(0);
        int b85 = ButtonFor(dialog, 0, 0x85);
        QCOMPARE(dialog.GetButton(b85)->toolTip(), QStringLiteral("0x85"));
        // Without the remote's font, bytes Latin-1 leaves blank must still look distinct.
        QCOMPARE(CProntoStringDlg::ButtonCaption(0x85, false), QStringLiteral("85"));
        QCOMPARE(CProntoStringDlg::ButtonCaption(0xA0, false), QStringLiteral("A0"));
        QCOMPARE(CProntoStringDlg::ButtonCaption(0xB6, false), QString(QChar(0xB6)));
        QCOMPARE(CProntoStringDlg::ButtonCaption(0x85, true), QString(QChar(0x85)));
    }

    void nameFieldsRefuseCharactersNoByteHolds()
    {
        QWidget parent;
        QLineEdit* edit = MakeNameEdit(&parent);
        edit->setText(QStringLiteral("Caf"));
        edit->setFocus();
        edit->setCursorPosition(3);
        for (QChar c : QString::fromUtf8("\xC3\xA9\xE2\x82\xAC")) // e-acute, euro sign
            QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_unknown, QString(c), Qt::NoModifier);
        QCOMPARE(FieldToBytes(edit->text()), std::string("Caf\xE9"));
    }
};

DW_UI_TEST(ProntoStringTest)
#include "ProntoStringTest.moc"
