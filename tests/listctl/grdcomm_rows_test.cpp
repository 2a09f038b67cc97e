// Rows through the keyboard and the mouse: Enter appending, Insert, Delete, vetoes, the
// side stores and the row marker.

#include "list_fixture.h"

#include "listctl/format_string.h"

#include <QHeaderView>
#include <QTest>

namespace zq::test {
namespace {

using RowsTest = ListFixture;

TEST_F(RowsTest, InitGridLaysOutColumnsAndRowsOfAtLeast315Twips)
{
    const struct {
        int given;
        int expected;
    } cases[] = {{200, 315}, {0, 315}, {316, 316}, {450, 450}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.given);
        init(0, c.given);
        EXPECT_EQ(list->RowHgt(), c.expected);
        fill(2);
        // The grid keeps heights in whole pixels: 315 is 21 of them.
        EXPECT_EQ(list->ColHeight(2), 15.0 * std::lround(c.expected / 15.0));
    }
    EXPECT_EQ(list->Cols(), 4);
    EXPECT_EQ(list->TextMatrix(0, 3), "  Note  ");
    EXPECT_EQ(list->ColAlignment(1), int(GridAlign::LeftCenter));
    EXPECT_EQ(list->ColAlignment(3), int(GridAlign::General));
    EXPECT_GT(list->ColWidth(2), list->ColWidth(1)) << "\"Descrizione\" is wider than \"Codice\"";
    EXPECT_TRUE(list->CanDeleteRow() && list->CanInsertRow() && list->CanAppendRow());
}

TEST_F(RowsTest, EnterMovesDownAppendsOnTheLastRowAndStopsAtMaxRows)
{
    start(3, 1);
    list->setCol(3);
    auto after = count(&grdComm::AfterAppendRow);
    auto appended = count(&grdComm::RowAppended);
    auto keyPress = count(&grdComm::KeyPress);
    QTest::keyClick(grid, Qt::Key_Return);
    EXPECT_EQ(list->Rows(), 4);
    EXPECT_EQ(list->Row(), 2);
    EXPECT_EQ(list->Col(), list->FixedCols());
    EXPECT_EQ(*after + *appended, 0);
    EXPECT_EQ(markedRow(), 2);

    list->setRow(3);
    list->setCol(1);
    QTest::keyClick(grid, Qt::Key_Return);
    EXPECT_EQ(list->Rows(), 5);
    EXPECT_EQ(list->Row(), 4);
    EXPECT_EQ(list->Col(), 2) << "the new row opens on newRowCol";
    EXPECT_EQ(*after, 1);
    EXPECT_EQ(*appended, 1);
    EXPECT_EQ(*keyPress, 0) << "Enter is never passed on as KeyPress";
    EXPECT_EQ(list->ColHeight(4), 315.0);
    EXPECT_EQ(list->bkmk(4), 0);
    EXPECT_EQ(rowText(4), "||");
    EXPECT_EQ(markedRow(), 4);

    // Full: Enter adds nothing and says nothing, Insert says so.
    list->setMaxRows(5);
    QTest::keyClick(grid, Qt::Key_Return);
    EXPECT_EQ(list->Rows(), 5);
    EXPECT_EQ(*after, 2) << "AfterAppendRow comes even when nothing was added";
    EXPECT_EQ(*appended, 1);
    EXPECT_TRUE(dialogs.messages().empty());
    auto inserted = count(&grdComm::RowInserted);
    dialogs.then(Answer::Ok);
    list->setRow(3);
    QTest::keyClick(grid, Qt::Key_Insert);
    EXPECT_EQ(list->Rows(), 5);
    EXPECT_EQ(*inserted, 0);
    ASSERT_EQ(dialogs.messages().size(), 1u);
    expectMessage(dialogs.messages()[0], {"Impossibile aggiungere righe!\r\nL'elenco è pieno", "Elenco prova",
                                          Buttons::OkCancel, Icon::Information});
    EXPECT_EQ(rowText(3), "C3|D3|") << "nothing changes";
}

TEST_F(RowsTest, DeleteKeepsTheKeysOfDeletedRowsAndEmptiesTheLastOne)
{
    init(0);
    fill(5, {17, 0, 23, 40, 50});
    focusGrid();
    list->setRow(1);
    auto deleted = count(&grdComm::RowDeleted);
    auto keyDown = count(&grdComm::KeyDown);
    QTest::keyClick(grid, Qt::Key_Delete);  // 17
    EXPECT_EQ(rowText(1), "C2|D2|");
    QTest::keyClick(grid, Qt::Key_Delete);  // 0: no key to remember
    QTest::keyClick(grid, Qt::Key_Delete);  // 23
    EXPECT_EQ(list->n_dbmk(), 1);
    EXPECT_EQ(list->dBmk(0), 17);
    EXPECT_EQ(list->dBmk(1), 23);
    EXPECT_EQ(list->Rows(), 3);
    EXPECT_EQ(rowText(1), "C4|D4|");
    EXPECT_EQ(list->bkmk(1), 40);
    EXPECT_EQ(list->bkmk(2), 50);

    // The last row moves the cursor up.
    list->setRow(2);
    QTest::keyClick(grid, Qt::Key_Delete);
    EXPECT_EQ(list->Rows(), 2);
    EXPECT_EQ(list->Row(), 1);
    EXPECT_EQ(markedRow(), 1);

    // The only data row is emptied, not removed; emptying it again records nothing new.
    QTest::keyClick(grid, Qt::Key_Delete);
    EXPECT_EQ(list->Rows(), 2);
    EXPECT_EQ(rowText(1), "||");
    EXPECT_EQ(list->bkmk(1), 0);
    QTest::keyClick(grid, Qt::Key_Delete);
    EXPECT_EQ(*deleted, 6);
    EXPECT_EQ(*keyDown, 0);
    EXPECT_EQ(list->n_dbmk(), 3);
    EXPECT_EQ(list->dBmk(3), 40);
}

TEST_F(RowsTest, InsertShiftsTextKeysAndAttributesButNotBkRC)
{
    init(0, 315, /*newRowCol=*/3);
    fill(5, {11, 12, 13, 14, 15});
    list->InitBkRC();
    for (int r = 1; r <= 5; ++r) {
        list->setNi_rig(r, 1, std::int16_t(r));
        list->setNi_col(r, 2, std::int16_t(r * 2));
        list->setNi_tip(r, 3, QStringLiteral("t%1").arg(r));
        list->setBkRC(r, 1, r * 100);
    }
    list->setNi_edt(3, 1, false);
    focusGrid();
    list->setRow(3);
    list->setCol(1);
    auto inserted = count(&grdComm::RowInserted);
    auto afterInsert = count(&grdComm::AfterInsertRow);
    QTest::keyClick(grid, Qt::Key_Insert);

    EXPECT_EQ(list->Rows(), 7);
    EXPECT_EQ(list->Row(), 3);
    EXPECT_EQ(list->Col(), 3);
    EXPECT_EQ(*inserted, 1);
    EXPECT_EQ(*afterInsert, 1);
    EXPECT_EQ(rowText(3), "||");
    EXPECT_EQ(list->bkmk(3), 0);
    EXPECT_TRUE(list->ni_edt(3, 1));
    EXPECT_EQ(list->ni_tip(3, 3), "");
    for (int r : {4, 5, 6}) {
        SCOPED_TRACE(r);
        const int was = r - 1;
        EXPECT_EQ(rowText(r), QStringLiteral("C%1|D%1|").arg(was).toStdString());
        EXPECT_EQ(list->bkmk(r), 10 + was);
        EXPECT_EQ(list->ni_rig(r, 1), was);
        EXPECT_EQ(list->ni_col(r, 2), was * 2);
        EXPECT_EQ(list->ni_tip(r, 3), QStringLiteral("t%1").arg(was));
    }
    EXPECT_FALSE(list->ni_edt(4, 1)) << "the flag moved with its row";
    EXPECT_EQ(rowText(2), "C2|D2|");
    for (int r = 1; r <= 5; ++r)
        EXPECT_EQ(list->BkRC(r, 1), r * 100) << "BkRC is never shifted";
    EXPECT_EQ(markedRow(), 3) << "the marker column stays put";
}

TEST_F(RowsTest, KeysReachTheFormWhichCanVetoOrSwallowThem)
{
    start(3, 2);
    QObject::connect(list.get(), &grdComm::BeforeInsertRow, [this] { list->setCanInsertRow(false); });
    QObject::connect(list.get(), &grdComm::BeforeDeleteRow, [this] { list->setCanDeleteRow(false); });
    QObject::connect(list.get(), &grdComm::BeforeAppendRow, [this] { list->setCanAppendRow(false); });
    std::vector<int> downs, presses;
    QObject::connect(list.get(), &grdComm::KeyDown, [&](int& code, int& shift) { downs.push_back(code * 10 + shift); });
    QObject::connect(list.get(), &grdComm::KeyPress, [&](int& ascii) { presses.push_back(ascii); });
    auto afterDelete = count(&grdComm::AfterDeleteRow);

    QTest::keyClick(grid, Qt::Key_Insert);
    QTest::keyClick(grid, Qt::Key_Delete);
    QTest::keyClick(grid, Qt::Key_Return);
    EXPECT_EQ(list->Rows(), 4);
    EXPECT_EQ(list->Row(), 2);
    EXPECT_EQ(rowText(2), "C2|D2|");
    EXPECT_EQ(*afterDelete, 0);
    typeChar(grid, QChar('x'));
    typeKey(grid, Qt::Key_F2, {}, Qt::ShiftModifier);
    typeChar(grid, QChar(0xE8));
    EXPECT_EQ(downs, (std::vector<int>{450, 460, 130, 880, 1131, 0})) << "a vetoed key goes on as KeyDown";
    EXPECT_EQ(presses, (std::vector<int>{'x', 232}));

    // A form clearing the code in KeyDown swallows the key.
    QObject::connect(list.get(), &grdComm::KeyDown, [](int& code, int&) {
        if (code == 40 || code == 65) code = 0;
    });
    presses.clear();
    QTest::keyClick(grid, Qt::Key_Down);
    typeChar(grid, QChar('a'));
    typeChar(grid, QChar('b'));
    EXPECT_EQ(list->Row(), 2);
    EXPECT_EQ(presses, (std::vector<int>{'b'}));
}

TEST_F(RowsTest, MarkerFollowsFocusAndClicksBecomeClickAndDblClick)
{
    init(0);
    fill(4);
    list->setRow(2);
    auto rowColChange = count(&grdComm::RowColChange);
    focusGrid();
    EXPECT_EQ(markedRow(), 2);
    QTest::keyClick(grid, Qt::Key_Down);
    EXPECT_EQ(markedRow(), 3);
    EXPECT_EQ(list->LastRow(), 3);
    EXPECT_GE(*rowColChange, 1);
    const int before = *rowColChange;
    QTest::keyClick(grid, Qt::Key_Right);
    EXPECT_EQ(*rowColChange, before) << "a change of column alone raises nothing";

    auto clicks = count(&grdComm::Click);
    auto doubles = count(&grdComm::DblClick);
    const QPoint cell = grid->cellRect(1, 2).center() - grid->viewport()->geometry().topLeft();
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell);
    EXPECT_EQ(list->Row(), 1);
    EXPECT_EQ(list->Col(), 2);
    EXPECT_EQ(markedRow(), 1);
    // What a real double click delivers: a click, then the double click and its release.
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell);
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, cell);
    EXPECT_EQ(*doubles, 1);
    EXPECT_EQ(*clicks, 2) << "a double click is one Click and one DblClick";
    // The fixed column selects its row.
    const QRect marker = grid->cellRect(2, 0);
    QTest::mouseClick(grid->verticalHeader()->viewport(), Qt::LeftButton, {},
                      QPoint(marker.width() / 2, marker.center().y() - grid->viewport()->geometry().y()));
    EXPECT_EQ(list->Row(), 2);
    EXPECT_EQ(*clicks, 3);

    auto lost = count(&grdComm::LostFocus);
    QWidget other(form.get());
    other.setFocusPolicy(Qt::StrongFocus);
    other.show();
    other.setFocus();
    QApplication::processEvents();
    EXPECT_EQ(*lost, 1);
    EXPECT_EQ(markedRow(), -1) << "no marker without the focus";
}

TEST_F(RowsTest, GrowingPropertiesAndFixedRowsFollowTheStoreRules)
{
    init(0);
    fill(2);
    EXPECT_EQ(list->bkmk(6), 0);
    EXPECT_TRUE(list->ni_edt(6, 0)) << "the row reached gets the initial values";
    EXPECT_FALSE(list->ni_edt(5, 0)) << "rows skipped over stay blank";
    EXPECT_EQ(list->dBmk(3), 0);
    EXPECT_EQ(list->n_dbmk(), 3);
    list->setFixedRows(1);
    EXPECT_EQ(list->Rows(), 3);
    EXPECT_THROW(list->setFixedRows(2), std::out_of_range);
    list->setMergeRow(2, true);
    EXPECT_TRUE(list->MergeRow(2) && !list->MergeRow(1));
    EXPECT_THROW(list->MergeRow(list->Rows()), std::out_of_range);
    EXPECT_THROW(list->setMergeRow(list->Rows(), true), std::out_of_range);

    init(0);
    list->setRows(1);
    list->setFixedRows(1);
    EXPECT_EQ(list->Rows(), 2) << "FixedRows raises Rows first";
    list->setFixedCols(0);
    EXPECT_EQ(list->FixedCols(), 0);
    EXPECT_EQ(list->TextMatrix(0, 2), "Descrizione") << "texts keep their cells";
}

}  // namespace
}  // namespace zq::test
