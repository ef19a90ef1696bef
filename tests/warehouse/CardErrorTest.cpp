// Saves the database refuses, told apart by error number for a change and
// for an add, and the card's keys walking its fields.
#include "WarehouseFixture.h"

#include "warehouse/frmWHCard.h"

using namespace depotbase;

using namespace whtest;

namespace {

QString aboutCode(int endingId)
{
    return LoadResString(104) + LoadResString(52) + LoadResString(endingId);
}

} // namespace

class CardErrorTest : public WarehouseFixture {
protected:
    // A trigger that refuses every insert and update of a warehouse with an
    // error the kit has no number of its own for.
    void refuseWrites(bool on)
    {
        const bool pg = testsupport::isServerEngine(GetParam());
        if (!on) {
            m_login->Execute(pg ? "DROP TRIGGER nowrites ON Warehouse"
                                : "DROP TRIGGER nowrites_u");
            if (!pg)
                m_login->Execute("DROP TRIGGER nowrites_i");
            return;
        }
        if (pg) {
            m_login->Execute("CREATE OR REPLACE FUNCTION nowrites() RETURNS trigger "
                             "LANGUAGE plpgsql AS 'BEGIN RAISE EXCEPTION ''no writes today''; "
                             "END'");
            m_login->Execute("CREATE TRIGGER nowrites BEFORE INSERT OR UPDATE ON Warehouse "
                             "FOR EACH ROW EXECUTE FUNCTION nowrites()");
        } else {
            m_login->Execute("CREATE TRIGGER nowrites_u BEFORE UPDATE ON Warehouse "
                             "BEGIN SELECT RAISE(ABORT, 'no writes today'); END");
            m_login->Execute("CREATE TRIGGER nowrites_i BEFORE INSERT ON Warehouse "
                             "BEGIN SELECT RAISE(ABORT, 'no writes today'); END");
        }
    }

    // The engine's own text for an insert the trigger refuses.
    QString refusedInsertText()
    {
        try {
            m_login->Execute("INSERT INTO Warehouse (cWhCode, cWhName) VALUES ('zz', 'zz')");
        } catch (const dbkit::DbError &error) {
            EXPECT_EQ(error.number(), dbkit::ErrorNumber::General);
            return error.description();
        }
        ADD_FAILURE() << "the trigger let an insert through";
        return QString();
    }
};

// A change the database refuses keeps the card, its mode and its lock; each
// number has its own message, and an unnumbered failure is told with the
// engine's text.
TEST_P(CardErrorTest, RefusedChangesByNumber)
{
    dbkit::DbLoginPtr other = m_db->connect("other", "OTHERPC");
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

            // Another operator is writing the same row: record locked.
            retype(card, "EdtcWhCode", "12");
            retype(card, "EdtcWhName", "外租仓库改");
            other->BeginTrans();
            other->Execute("UPDATE Warehouse SET cWhMemo='x' WHERE cWhCode='12'");
            expectRefusal(LoadResString(84));
            pressKey(card, Qt::Key_F6);
            other->RollbackTrans();
            EXPECT_EQ(textOf(card, "EdtcWhName"), "外租仓库改");

            // Any other refusal of a change: told as a failed save with the
            // engine's text, not as a warehouse deleted meanwhile.
            refuseWrites(true);
            expectRefusal(QStringLiteral("保存失败：") + refusedInsertText());
            pressKey(card, Qt::Key_F6);
            EXPECT_EQ(textOf(card, "EdtcWhName"), "外租仓库改");
            EXPECT_EQ(locksHeld(), 1);

            // Once the database takes it, the row shows it and the card empties.
            refuseWrites(false);
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

// An add the database refuses for a reason without a number of its own is told
// as a failed save with the engine's text; a record lock held by another
// operator shows its message.
TEST_P(CardErrorTest, RefusedAddsByNumber)
{
    dbkit::DbLoginPtr other = m_db->connect("other", "OTHERPC");
    refuseWrites(true);
    const QString engineText = refusedInsertText();
    runList([&](frmWHBrowse &) {
        const int rows = grid().Rows();
        expectCard([&](QDialog *card) {
            retype(card, "EdtcWhCode", "30");
            retype(card, "EdtcWhName", "拒收库");
            expectRefusal(QStringLiteral("保存失败：") + engineText);
            pressKey(card, Qt::Key_F6);
            EXPECT_EQ(textOf(card, "EdtcWhCode"), "30");
            refuseWrites(false);

            other->BeginTrans();
            other->Execute("INSERT INTO Warehouse (cWhCode, cWhName) VALUES ('30', '他人库')");
            expectRefusal(LoadResString(84));
            pressKey(card, Qt::Key_F6);
            other->RollbackTrans();
            EXPECT_EQ(grid().Rows(), rows);

            pressKey(card, Qt::Key_F6);
            EXPECT_EQ(grid().Rows(), rows + 1);
            EXPECT_EQ(grid().TextMatrix(rows, 1), "拒收库");
            pressKey(card, Qt::Key_Escape);
        });
        click("TlbAdd");
    });
    EXPECT_EQ(warehouseField("30", "cWhName"), "拒收库");
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
