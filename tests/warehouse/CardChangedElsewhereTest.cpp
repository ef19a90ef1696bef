// An open card is told at once when another seat changes or deletes its
// warehouse: a bar above the boxes names who and when, and 重新读取 reads
// the warehouse again; what the user typed stays until then.
#include "WarehouseFixture.h"

#include "services/HistoryReader.h"
#include "services/WarehouseService.h"
#include "suite/locks/LockVouchDLL.h"
#include "warehouse/WarehouseCard.h"

#include <QLabel>
#include <QPushButton>

using namespace whtest;

class CardChangedElsewhereTest : public WarehouseFixture {
protected:
    // Another seat on the account, working through the services.
    services::WarehouseService &otherSeat(const QString &operatorCode)
    {
        m_other = m_db->connect(operatorCode, "OTHERPC");
        m_otherWarehouses =
            std::make_unique<services::WarehouseService>(*m_other, m_otherLocks, "OTHERPC");
        return *m_otherWarehouses;
    }

    // The card's bar once the card has been told; nullptr if it never was.
    QFrame *toldBar(QDialog *card)
    {
        auto *bar = control<QFrame>(card, "ChangedBar");
        static_cast<frmWHCard *>(card)->following()->askNow();
        return QTest::qWaitFor([&] { return bar->isVisible(); }, 10000) ? bar : nullptr;
    }

    // The bar's text for the newest change of a warehouse, as the history holds it.
    QString toldText(const QString &who, const QString &code, const QString &action)
    {
        services::HistoryFilter newest;
        newest.table = "Warehouse";
        newest.key = code;
        newest.limit = 1;
        const auto changes = services::HistoryReader(*m_login).read(newest);
        const QString at =
            changes.empty() ? QString() : changes.front().changed.toLocalTime().toString("HH:mm");
        return "该仓库已被 " + who + " 于 " + at + " " + action;
    }

    dbkit::DbLoginPtr m_other;
    LockVouchDLL m_otherLocks;
    std::unique_ptr<services::WarehouseService> m_otherWarehouses;
};

TEST_P(CardChangedElsewhereTest, AChangeIsToldAndReadAgainOnRequest)
{
    services::WarehouseService &other = otherSeat("001");
    runList([&](frmWHBrowse &) {
        editCode("12", [&](QDialog *card) {
            retype(card, "EdtcWhMemo", "未保存的备注");
            const int height = card->height();
            // The card's lock was taken over (its seat seemed gone); the other
            // seat renames the warehouse.
            m_other->Execute("DELETE FROM LockRecords WHERE cKind='BJ' AND cCode='12'");
            ASSERT_TRUE(other.locks().lock("12"));
            services::WarehouseSave change;
            change.adding = false;
            change.original = *other.read("12");
            change.edited = change.original;
            change.edited.name = "外租仓库新";
            ASSERT_TRUE(other.save(change).result.done());
            other.locks().unlock("12");

            QFrame *bar = toldBar(card);
            ASSERT_NE(bar, nullptr);
            EXPECT_EQ(control<QLabel>(bar, "lblChanged")->text(), toldText("张伟", "12", "修改"));
            // Told without taking the user's box or typing.
            EXPECT_EQ(QApplication::focusWidget(), control<QWidget>(card, "EdtcWhMemo"));
            EXPECT_EQ(textOf(card, "EdtcWhName"), "外租仓库");
            EXPECT_EQ(textOf(card, "EdtcWhMemo"), "未保存的备注");

            // Alt+R clicks 重新读取 (a button's key clicks it a moment later).
            pressKey(card, Qt::Key_R, Qt::AltModifier);
            EXPECT_TRUE(QTest::qWaitFor([&] { return !bar->isVisible(); }, 10000));
            EXPECT_EQ(textOf(card, "EdtcWhName"), "外租仓库新");
            EXPECT_EQ(textOf(card, "EdtcWhMemo"), warehouseField("12", "cWhMemo"));
            EXPECT_FALSE(button(card, "TlbSave")->isEnabled());
            // The card gives back the room the bar took.
            EXPECT_EQ(card->height(), height);
            pressKey(card, Qt::Key_Escape);
        });
    });
}

TEST_P(CardChangedElsewhereTest, ADeleteIsToldOnAReadOnlyCard)
{
    // "other" is no operator of the system database: the bar names its code.
    services::WarehouseService &other = otherSeat("other");
    openListDataSet(true);
    runList([&](frmWHBrowse &) {
        editCode("12", [&](QDialog *card) {
            ASSERT_TRUE(other.remove("12").done());
            QFrame *bar = toldBar(card);
            ASSERT_NE(bar, nullptr);
            EXPECT_EQ(control<QLabel>(bar, "lblChanged")->text(), toldText("other", "12", "删除"));
            EXPECT_FALSE(control<QPushButton>(bar, "cmdReload")->isVisible());
            EXPECT_EQ(textOf(card, "EdtcWhName"), "外租仓库");
            pressKey(card, Qt::Key_Escape);
        });
    });
}

INSTANTIATE_TEST_SUITE_P(Engines, CardChangedElsewhereTest,
                         ::testing::ValuesIn(testsupport::windowEngines()), engineLabel);
