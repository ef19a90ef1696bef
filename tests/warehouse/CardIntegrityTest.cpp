// The card never changes what the user did not touch: characters beyond the
// Basic Multilingual Plane, exact fund quotas, a department whose name another
// department shares.
#include "WarehouseFixture.h"

#include "warehouse/WarehouseCard.h"

using namespace whtest;

namespace {

bool isPostgres(testsupport::TestEngine engine)
{
    return testsupport::isServerEngine(engine);
}

} // namespace

class CardIntegrityTest : public WarehouseFixture {
protected:
    QString quotaText(const QString &code)
    {
        return NullToEmpty(value("SELECT CAST(iWhFundQuota AS varchar(40)) FROM Warehouse "
                                 "WHERE cWhCode='" + dbkit::quoted(code) + "'"));
    }
};

// Editing only the memo leaves a code and a name of four-byte characters, a
// quota with more decimals than the box shows and a department sharing its
// name with another exactly as stored. A typed department text that is one
// department's code and another's name means the code.
TEST_P(CardIntegrityTest, EditingOneFieldKeepsTheOthersAsStored)
{
    const QString code = QString::fromUtf8("𠀀").repeated(10);
    const QString name = QString::fromUtf8("😀").repeated(20);
    m_login->Execute("INSERT INTO Department (cDepCode, cDepName, bDepEnd) VALUES "
                     "('D4', '同名部', 1), ('D5', '同名部', 1), ('K1', 'K2', 1), "
                     "('K2', '另一部', 1)");
    m_login->Execute("INSERT INTO Warehouse (cWhCode, cWhName, cDepCode, cWhValueStyle, bWhPos, "
                     "iWhFundQuota) VALUES ('" + code + "', '" + name
                     + "', 'D5', '全月平均法', 0, 3.14159)");
    const QString storedQuota = quotaText(code);
    openListDataSet(false);
    runList([&](frmWHBrowse &) {
        editCode(code, [&](QDialog *card) {
            EXPECT_EQ(textOf(card, "EdtcWhCode"), code);
            EXPECT_EQ(textOf(card, "EdtcWhName"), name);
            EXPECT_EQ(textOf(card, "EdtcDepCode"), "同名部");
            retype(card, "EdtcWhMemo", "只改备注");
            pressKey(card, Qt::Key_F6);
            EXPECT_EQ(textOf(card, "EdtcWhCode"), "");

            retype(card, "EdtcWhCode", "T1");
            retype(card, "EdtcWhName", "新库");
            retype(card, "EdtcDepCode", "K2");
            pressKey(card, Qt::Key_F6);
            pressKey(card, Qt::Key_Escape);
        });
    });
    EXPECT_EQ(warehouseField(code, "cWhName"), name);
    EXPECT_EQ(warehouseField(code, "cDepCode"), "D5");
    EXPECT_EQ(warehouseField(code, "cWhMemo"), "只改备注");
    EXPECT_EQ(quotaText(code), storedQuota);
    EXPECT_EQ(warehouseField("T1", "cDepCode"), "K2");
}

// The quota box takes four decimals; a box holding only "." is refused; a
// long quota is kept exactly through add, edit and re-edit.
TEST_P(CardIntegrityTest, FundQuotaIsStoredAsTyped)
{
    const bool pg = isPostgres(GetParam());
    const QString quota = pg ? "9999999999999.999" : "999999999999.999";
    runList([&](frmWHBrowse &) {
        expectCard([&](QDialog *card) {
            retype(card, "EdtcWhCode", "Q1");
            retype(card, "EdtcWhName", "定额库");
            retype(card, "EdtiWhFundQuota", "3.141592");
            EXPECT_EQ(textOf(card, "EdtiWhFundQuota"), "3.1415");
            retype(card, "EdtiWhFundQuota", ".");
            expectRefusal("资金定额不是有效的数字，请重新输入！");
            pressKey(card, Qt::Key_F6);
            EXPECT_EQ(textOf(card, "EdtcWhCode"), "Q1") << "refused: nothing stored";
            retype(card, "EdtiWhFundQuota", quota);
            pressKey(card, Qt::Key_F6);
            pressKey(card, Qt::Key_Escape);
        });
        click("TlbAdd");
        for (const char *box : {"EdtcWhName", "EdtcWhMemo"}) {
            editCode("Q1", [&](QDialog *card) {
                EXPECT_EQ(textOf(card, "EdtiWhFundQuota"), quota);
                retype(card, box, "改过");
                pressKey(card, Qt::Key_F6);
                pressKey(card, Qt::Key_Escape);
            });
        }
    });
    EXPECT_EQ(count("SELECT COUNT(*) FROM Warehouse WHERE cWhCode='Q1' AND iWhFundQuota = "
                    + quota),
              1);
    EXPECT_EQ(warehouseField("Q1", "cWhMemo"), "改过");
}

INSTANTIATE_TEST_SUITE_P(Engines, CardIntegrityTest,
                         ::testing::ValuesIn(testsupport::windowEngines()), engineLabel);
