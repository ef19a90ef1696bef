// A save the database refuses, and the card's keys walking its fields.
#include "WarehouseFixture.h"

#include "warehouse/WarehouseCard.h"

using namespace depotbase;

using namespace whtest;

namespace {

QString aboutCode(int endingId)
{
    return LoadResString(104) + LoadResString(52) + LoadResString(endingId);
}

} // namespace

class CardErrorTest : public WarehouseFixture {};

// A change the database refuses is told and keeps the card, its mode and its
// lock; once the database takes it, the row shows it and the card empties.
TEST_P(CardErrorTest, RefusedChangeKeepsTheCard)
{
    runList([&](frmWHBrowse &) {
        const int row = rowOf("12");
        editCode("12", [&](QDialog *card) {
            // Duplicate key: the code of another warehouse.
            retype(card, "EdtcWhCode", "11");
            expectRefusal(aboutCode(105));
            pressKey(card, Qt::Key_F6);
            EXPECT_EQ(textOf(card, "EdtcWhCode"), "11");
            EXPECT_TRUE(button(card, "TlbSave")->isEnabled());
            EXPECT_EQ(locksHeld(), 1);
            EXPECT_EQ(grid().TextMatrix(row, 0), "12");

            retype(card, "EdtcWhCode", "12");
            retype(card, "EdtcWhName", "外租仓库改");
            // Once the database takes it, the row shows it and the card empties.
            pressKey(card, Qt::Key_F6);
            EXPECT_EQ(grid().TextMatrix(row, 1), "外租仓库改");
            EXPECT_EQ(textOf(card, "EdtcWhCode"), "");
            EXPECT_EQ(locksHeld(), 0);
            pressKey(card, Qt::Key_Escape);
        });
    });
    EXPECT_EQ(warehouseField("12", "cWhName"), "外租仓库改");
    EXPECT_EQ(warehouseField("11", "cWhName"), "不合格品库");
}

// Enter moves on as Tab does, through every field in reading order.
TEST_P(CardErrorTest, EnterWalksTheFields)
{
    runList([&](frmWHBrowse &) {
        expectCard([&](QDialog *card) {
            const char *order[] = {"EdtcWhCode",       "EdtcWhName",      "EdtcDepCode",
                                   "EdtcWhAddress",    "EdtcWhPhone",     "EdtcWhPerson",
                                   "CmbcWhValueStyle", "EdtiWhFundQuota", "EdtcWhMemo",
                                   "ChkbWhPos"};
            for (const char *name : order) {
                EXPECT_EQ(QApplication::focusWidget(), control<QWidget>(card, name)) << name;
                pressKey(card, Qt::Key_Return);
            }
            // Enter changed nothing: the card closes without asking.
            EXPECT_FALSE(button(card, "TlbSave")->isEnabled());
            pressKey(card, Qt::Key_Escape);
            EXPECT_FALSE(card->isVisible());
        });
        click("TlbAdd");
    });
}

INSTANTIATE_TEST_SUITE_P(Engines, CardErrorTest,
                         ::testing::ValuesIn(testsupport::windowEngines()), engineLabel);
