// The Listing dialog: what it shows and what "Copy to Clipboard" puts on the clipboard.

#include "EditorTestSupport.h"
#include "UiTestMain.h"
#include "UiTestSupport.h"

#include "ui/ListingDlg.h"
#include "ui/ResultReport.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

using namespace dwuitest;

class ListingTest : public QObject
{
    Q_OBJECT

private slots:
    void copyToClipboard_data()
    {
        QTest::addColumn<QList<int>>("selected");
        QTest::addColumn<QString>("clipboard");
        QTest::addColumn<QString>("status");
        QTest::newRow("nothing selected: every line")
            << QList<int>{} << QStringLiteral("alpha\r\nbeta\r\ngamma")
            << QStringLiteral("Copied entire log to clipboard.");
        QTest::newRow("one line") << QList<int>{1} << QStringLiteral("beta")
                                  << QStringLiteral("Copied selection to clipboard.");
        QTest::newRow("two lines in list order") << QList<int>{2, 0} << QStringLiteral("alpha\r\ngamma")
                                                 << QStringLiteral("Copied selection to clipboard.");
    }
    void copyToClipboard()
    {
        QFETCH(QList<int>, selected);
        QFETCH(QString, clipboard);
        QFETCH(QString, status);
        CListingDlg listing(QStringLiteral("CCFDll Operation Log"), QStringLiteral("It failed"),
                            {"alpha", "beta", "gamma"}, nullptr);
        listing.show();
        for (int row : selected)
            listing.GetList()->topLevelItem(row)->setSelected(true);
        QGuiApplication::clipboard()->clear();
        QPushButton* copy = FindButton<QPushButton>(&listing, QStringLiteral("Copy to Clipboard"));
        QVERIFY(copy);
        QTest::mouseClick(copy, Qt::LeftButton);
        QCOMPARE(QGuiApplication::clipboard()->text(), clipboard);
        QCOMPARE(listing.GetStatusText(), status);
    }
};

DW_UI_TEST(ListingTest)
#include "ListingTest.moc"
