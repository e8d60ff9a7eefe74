// The import and export dialogs: formats, hints and browse filters, XML import, the CSV
// dialog's checks, preview and round trip, and the slot report's tabs and sorting.

#include "DemoArea.h"
#include "EditorTestSupport.h"
#include "UiTestMain.h"
#include "UiTestSupport.h"

#include "core/Registry.h"
#include "exchange/XmlExchange.h"
#include "ui/CsvDlg.h"
#include "ui/ImportExportDlg.h"
#include "ui/SlotReportDlg.h"
#include "ui/UpDown.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTreeWidget>

#include <fstream>
#include <set>
#include <tuple>

using namespace dwuitest;

namespace {

QStringList Headings(const QTreeView* view)
{
    QStringList headings;
    for (int c = 0; c < view->model()->columnCount(); ++c)
        headings << view->model()->headerData(c, Qt::Horizontal).toString();
    return headings;
}

QStringList Column(const QTreeView* view, int column)
{
    QStringList cells;
    for (int i = 0; i < view->model()->rowCount(); ++i)
        cells << view->model()->index(i, column).data().toString();
    return cells;
}

// Ticks exactly the given fields, each with its column.
void SetColumns(CCsvDlg& csv, const std::vector<std::pair<int, int>>& columns)
{
    for (int field = 0; field < kCsvFieldCount; ++field)
        csv.GetCheck(field)->setChecked(false);
    // As the arrows would: up from nothing.
    for (const auto& [field, column] : columns) {
        csv.GetSpin(field)->SetPosition(0);
        csv.GetSpin(field)->StepBy(column);
    }
}

using CDiscKey = std::tuple<std::string, std::string, std::string, int, std::string>;

// Every disc as (list, artist, disc, number, player name).
std::set<CDiscKey> DiscKeys(const CLibrary& library)
{
    std::set<CDiscKey> keys;
    for (const CLibList* list : library.GetLists())
        for (const CArtist* artist : list->GetArtists())
            for (const CDisc* disc : artist->GetDiscs())
                keys.emplace(list->GetName().GetPlain(), artist->GetName().GetPlain(),
                             disc->GetName().GetPlain(), disc->GetNumber(),
                             disc->GetPlayer() ? disc->GetPlayer()->GetName().GetPlain()
                                               : disc->GetDeviceName().GetPlain());
    return keys;
}

// Opens the import/export dialog's CSV page for file and returns it.
CCsvDlg* OpenCsvPage(CImportExportDlg& exchange, const QString& file)
{
    exchange.GetRadio(EExchangeFileType::Csv)->click();
    exchange.GetFileEdit()->setText(file);
    QTest::mouseClick(exchange.GetOkButton(), Qt::LeftButton);
    return qobject_cast<CCsvDlg*>(exchange.GetOpenChild());
}

} // namespace

class ExchangeDlgTest : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        // Every test starts without saved choices and columns.
        for (const char* name : {"ImportFileName", "ImportFileType", "ExportFileName", "ExportFileType"})
            DeleteRegistryValue(HKEY_CURRENT_USER, kSettingsKey, name);
        CCsvColumnMap().SaveSettings();
    }

    void formatsHintsAndOkLabel_data()
    {
        QTest::addColumn<bool>("importing");
        QTest::addColumn<int>("format");
        QTest::addColumn<QString>("hint");
        QTest::addColumn<QString>("ok");
        QTest::newRow("import CSV") << true << int(EExchangeFileType::Csv)
                                    << "You can specify the columns on the next page."
                                    << "Next >";
        QTest::newRow("import XML") << true << int(EExchangeFileType::Xml)
                                    << "The file containing your discs is typically named \"DW_Library.xml\"."
                                    << "OK";
        QTest::newRow("import legacy") << true << int(EExchangeFileType::Legacy)
                                       << "You can assign your discs to players en masse at execution time."
                                       << "OK";
        QTest::newRow("export XML") << false << int(EExchangeFileType::Xml)
                                    << "For backups, copy the two XML files in the DW_Config directory."
                                    << "OK";
        QTest::newRow("export legacy is not offered")
            << false << int(EExchangeFileType::Legacy) << "Select a file format."
            << "OK";
    }
    void formatsHintsAndOkLabel()
    {
        QFETCH(bool, importing);
        QFETCH(int, format);
        QFETCH(QString, hint);
        QFETCH(QString, ok);
        DW_LOAD_DEMO(demo);
        CImportExportDlg exchange(importing, demo.Config(), nullptr);
        exchange.show();
        QCOMPARE(exchange.windowTitle(), importing ? QStringLiteral("Import") : QStringLiteral("Export"));
        QCOMPARE(exchange.GetHint(), QStringLiteral("Select a file format."));
        QVERIFY(!exchange.GetOkButton()->isEnabled());
        QRadioButton* radio = exchange.GetRadio(static_cast<EExchangeFileType>(format));
        QCOMPARE(exchange.GetRadio(EExchangeFileType::Legacy)->isEnabled(), importing);
        QTest::mouseClick(radio, Qt::LeftButton);
        QCOMPARE(exchange.GetHint(), hint);
        QCOMPARE(exchange.GetOkButton()->text(), ok);
        bool selected = exchange.GetFormat() != EExchangeFileType::None;
        QCOMPARE(exchange.GetBrowseButton()->isEnabled(), selected);
        // OK needs a file name too.
        QVERIFY(!exchange.GetOkButton()->isEnabled());
        QTest::keyClicks(exchange.GetFileEdit(), "x.txt");
        QCOMPARE(exchange.GetOkButton()->isEnabled(), selected);
    }

    void xmlImportTwiceStopsAtTheFirstList()
    {
        DW_LOAD_DEMO(source);
        std::string file = source.File("lib.xml");
        CErrorRecord errors;
        QVERIFY(ExportXmlFile(source.Config(), &errors, nullptr, file.c_str()));
        std::size_t lists = source.Config().GetLibrary()->GetLists().GetCount();

        DW_LOAD_DEMO(target);
        target.Config().GetLibrary()->GetLists().RemoveAll();
        CScriptedPrompts prompts;
        for (int round = 0; round < 2; ++round) {
            CImportExportDlg exchange(true, target.Config(), nullptr);
            exchange.show();
            exchange.GetRadio(EExchangeFileType::Xml)->click();
            exchange.GetFileEdit()->setText(QString::fromStdString(file));
            QTest::mouseClick(exchange.GetOkButton(), Qt::LeftButton);
            if (round == 0) {
                QTRY_VERIFY(!exchange.isVisible());
                QCOMPARE(exchange.result(), 1);
            } else {
                QTRY_COMPARE(prompts.asked.size(), size_t(1));
                QCOMPARE(prompts.asked[0].caption, QStringLiteral("Discweaver Error"));
                // The library file's own message (its tests check the text) names the list.
                QVERIFY(prompts.asked[0].text.contains(QStringLiteral("\"Rock & Pop\"")));
                QVERIFY(exchange.isVisible());
            }
            QCOMPARE(target.Config().GetLibrary()->GetLists().GetCount(), lists);
        }
        QCOMPARE(DiscKeys(*target.Config().GetLibrary()), DiscKeys(*source.Config().GetLibrary()));
    }

    void csvColumnsRefusedUnderTryAgain()
    {
        DW_LOAD_DEMO(demo);
        CScriptedPrompts prompts;
        CCsvDlg csv(false, demo.Config(), demo.File("out.csv"), nullptr);
        csv.show();
        QCOMPARE(csv.windowTitle(), QStringLiteral("Export to CSV"));
        SetColumns(csv, {});
        QTest::mouseClick(FindButton<QPushButton>(&csv, QStringLiteral("OK")), Qt::LeftButton);
        SetColumns(csv, {{kCsvArtistName, 2}, {kCsvDiscName, 2}, {kCsvListName, 3}, {kCsvTrackName, 3}});
        QTest::mouseClick(csv.GetPreviewButton(), Qt::LeftButton);
        QCOMPARE(prompts.asked.size(), size_t(2));
        QCOMPARE(prompts.asked[0].text, QStringLiteral("No columns defined."));
        QCOMPARE(prompts.asked[1].text, QStringLiteral("Column 3 defined for multiple fields."));
        QCOMPARE(prompts.asked[1].caption, QStringLiteral("Try again"));
        QCOMPARE(prompts.asked[1].icon, EPromptIcon::Exclamation);
        QVERIFY(csv.isVisible());
        QVERIFY(!std::filesystem::exists(demo.File("out.csv")));
    }

    void csvImportPreviewFillsBothSides()
    {
        DW_LOAD_DEMO(demo);
        std::string file = demo.File("in.csv");
        std::ofstream(file) << "Artist,Disc,Slot\nMiles Davis,Kind of Blue,12\nNina Simone,Pastel Blues,3x\n";
        std::size_t listsBefore = demo.Config().GetLibrary()->GetLists().GetCount();
        CCsvDlg csv(true, demo.Config(), file, nullptr);
        csv.show();
        QCOMPARE(csv.windowTitle(), QStringLiteral("Import from CSV"));
        SetColumns(csv, {{kCsvArtistName, 1}, {kCsvDiscName, 2}, {kCsvDiscNumber, 3}});
        QTest::mouseClick(csv.GetPreviewButton(), Qt::LeftButton);
        QTRY_COMPARE(csv.GetPreviewRuns(), 1);
        QCOMPARE(Headings(csv.GetCsvView()), QStringList({"#1", "#2", "#3"}));
        QCOMPARE(Column(csv.GetCsvView(), 0), QStringList({"Artist", "Miles Davis", "Nina Simone"}));
        // The header row is data like any other; the number cell reads its leading digits.
        QCOMPARE(Column(csv.GetDataView(), kCsvDiscName),
                 QStringList({"Disc", "Kind of Blue", "Pastel Blues"}));
        QCOMPARE(Column(csv.GetDataView(), kCsvDiscNumber), QStringList({"0", "12", "3"}));
        // The real library is not touched by a preview.
        QCOMPARE(demo.Config().GetLibrary()->GetLists().GetCount(), listsBefore);
    }

    void csvExportAndImportRoundTripTheDemoDiscs()
    {
        DW_LOAD_DEMO(demo);
        QString file = QString::fromStdString(demo.File("library.csv"));
        const std::vector<std::pair<int, int>> columns = {{kCsvListName, 1},
                                                          {kCsvPlayerName, 2},
                                                          {kCsvArtistName, 3},
                                                          {kCsvDiscNumber, 4},
                                                          {kCsvDiscName, 5}};
        {
            CImportExportDlg exchange(false, demo.Config(), nullptr);
            exchange.show();
            CCsvDlg* csv = OpenCsvPage(exchange, file);
            QVERIFY(csv);
            QVERIFY(!exchange.isVisible());
            SetColumns(*csv, columns);
            QTest::mouseClick(FindButton<QPushButton>(csv, QStringLiteral("OK")), Qt::LeftButton);
            QTRY_VERIFY(!exchange.isVisible() && exchange.IsIdle());
            QCOMPARE(exchange.result(), 1);
        }

        DW_LOAD_DEMO(target);
        target.Config().GetLibrary()->GetLists().RemoveAll();
        {
            CImportExportDlg exchange(true, target.Config(), nullptr);
            exchange.show();
            CCsvDlg* csv = OpenCsvPage(exchange, file);
            QVERIFY(csv);
            // The assignment saved by the export is what the page starts with.
            QCOMPARE(csv->ReadMap().GetColumn(kCsvDiscNumber), 4);
            QTest::mouseClick(FindButton<QPushButton>(csv, QStringLiteral("OK")), Qt::LeftButton);
            QTRY_VERIFY(!exchange.isVisible() && exchange.IsIdle());
        }
        QCOMPARE(DiscKeys(*target.Config().GetLibrary()), DiscKeys(*demo.Config().GetLibrary()));
        // The imported discs found their players by name.
        for (const CLibList* list : target.Config().GetLibrary()->GetLists())
            for (const CArtist* artist : list->GetArtists())
                for (const CDisc* disc : artist->GetDiscs())
                    QVERIFY(disc->GetPlayer());
    }

    void slotReportGapsAndDuplicatesSortByNumber()
    {
        // One artist's discs on two players: gaps 3-4, 6 and 11, duplicates 7 and 12.
        CLibrary library;
        CLibList* slotList = AddNamed<CLibList>(&library, library.GetLists(), "Slots");
        CArtist* band = AddNamed<CArtist>(slotList, slotList->GetArtists(), "Band");
        for (const auto& [player, number, name] :
             std::vector<std::tuple<const char*, int, const char*>>{{"Alpha", 1, "a1"},
                                                                    {"Alpha", 2, "a2"},
                                                                    {"Alpha", 5, "a5"},
                                                                    {"Alpha", 7, "a7"},
                                                                    {"Alpha", 7, "a7 again"},
                                                                    {"beta", 10, "b10"},
                                                                    {"beta", 12, "b12"},
                                                                    {"beta", 12, "b12 again"}}) {
            CDisc* disc = AddNamed<CDisc>(band, band->GetDiscs(), name);
            disc->SetNumber(number);
            disc->SetDeviceName(CNameText::FromPlain(player));
        }
        CSlotReportData data;
        BuildSlotReport(data, library);
        CSlotReportDlg report(data, nullptr);
        report.show();
        QCOMPARE(report.GetTabs()->count(), 5);
        QCOMPARE(report.GetTabs()->tabText(2), QStringLiteral("Gaps"));

        report.GetTabs()->setCurrentIndex(2);
        QTreeWidget* list = report.GetList();
        QCOMPARE(Headings(list), QStringList({"Player", "Range", "Disc Before", "Disc After"}));
        QCOMPARE(Column(list, 1), QStringList({"3 - 4", "6", "11"}));
        QCOMPARE(Column(list, 2), QStringList({"Slots: Band: a2", "Slots: Band: a5", "Slots: Band: b10"}));
        QVERIFY(list->topLevelItem(0)->textAlignment(1) & Qt::AlignRight);

        report.GetTabs()->setCurrentIndex(3);
        QCOMPARE(Headings(list), QStringList({"Player", "Number", "Disc"}));
        QCOMPARE(Column(list, 1), QStringList({"7", "7", "12", "12"}));
        // By the number, ascending (as text, 12 would come first), then descending.
        report.SortByColumn(1);
        QCOMPARE(Column(list, 1), QStringList({"7", "7", "12", "12"}));
        report.SortByColumn(1);
        QCOMPARE(Column(list, 1), QStringList({"12", "12", "7", "7"}));
        QVERIFY(!report.IsSortAscending());
        // Ties stay in ascending order of the other columns.
        QCOMPARE(Column(list, 2), QStringList({"Slots: Band: b12", "Slots: Band: b12 again",
                                               "Slots: Band: a7", "Slots: Band: a7 again"}));
    }
};

DW_UI_TEST(ExchangeDlgTest)
#include "ExchangeDlgTest.moc"
