// The rights service on a demo account: the rules checked against the stored
// rights, keyed writes, rights gone meanwhile, and two writers at once.
#include "services/RightRules.h"
#include "services/RightsService.h"

#include "data/Catalogue.h"
#include "support/DemoAccount.h"
#include "suite/dbkit/DbError.h"

#include <QThread>
#include <gtest/gtest.h>
#include <thread>

using namespace services;
using testsupport::TestEngine;

namespace {

// 002 (李娜) holds warehouse 01 narrowed to class 0101 and 03 to item 010201;
// 001 (张伟) holds the whole of 01.
RightRecord right(const QString &op, const QString &warehouse, const QString &cls = {},
                  const QString &item = {})
{
    RightRecord r;
    r.operatorCode = op;
    r.operatorName = op == "001" ? QStringLiteral("张伟") : QStringLiteral("李娜");
    r.warehouseCode = warehouse;
    r.classCode = cls;
    r.itemCode = item;
    return r;
}

class RightsServiceTest : public ::testing::TestWithParam<TestEngine> {
protected:
    void SetUp() override { m_login = testsupport::openDemoAccount(GetParam(), m_db); }

    long long count(const QString &where)
    {
        return m_login->OpenDataSet("select count(*) from WarehAuth where " + where)
            ->Fields(0)
            .toLongLong();
    }

    std::unique_ptr<testsupport::TempDatabase> m_db;
    dbkit::DbLoginPtr m_login;
};

} // namespace

TEST_P(RightsServiceTest, StoredRightsDecideEveryWrite)
{
    RightsService service(*m_login);
    const long long before = count("1=1");

    // Crossing the stored class 0101 of 002 on 01, from every side.
    for (const RightRecord &crossing :
         {right("002", "01", {}, "010101"), right("002", "01", "01"),
          right("002", "01", "010101"), right("002", "01")}) {
        RightRecord attempt = crossing;
        const ServiceResult result = service.insert(attempt);
        EXPECT_EQ(result.message, attempt.wholeWarehouse()
                                      ? rightrules::wholeBesideNarrowedMessage()
                                      : rightrules::overlapMessage())
            << attempt.classCode.toStdString() << attempt.itemCode.toStdString();
        EXPECT_EQ(attempt.autoId, 0);
    }
    RightRecord unknown = right("002", "01", {}, "NOPE");
    EXPECT_EQ(service.insert(unknown).field, "cInvCode");
    EXPECT_EQ(count("1=1"), before) << "a refused write leaves nothing behind";

    // An item of a sibling class is stored and read back by its Auto_id.
    RightRecord item = right("002", "01", {}, "010201");
    item.showMoney = true;
    ASSERT_TRUE(service.insert(item).done());
    ASSERT_GT(item.autoId, 0);
    EXPECT_EQ(service.find(item.autoId), item);
    // The same right again: the unique key refuses it as a duplicate.
    RightRecord again = item;
    const ServiceResult duplicate = service.insert(again);
    EXPECT_EQ(duplicate.message, rightrules::duplicateMessage());
    EXPECT_EQ(duplicate.refusal, services::Refusal::Duplicate);
    // A narrowed right beside a whole-warehouse one is allowed.
    RightRecord narrowed = right("001", "01", "0101");
    EXPECT_TRUE(service.insert(narrowed).done());

    // An update that would cross is refused and the stored right stays.
    RightRecord changed = item;
    changed.itemCode = "01010101";
    EXPECT_EQ(service.update(changed, item).message, rightrules::overlapMessage());
    EXPECT_EQ(count("cInvCode='010201' and Id='002' and cWhCode='01'"), 1);
    changed.itemCode = "010202";
    changed.showMoney = false;
    EXPECT_TRUE(service.update(changed, item).done());
    EXPECT_TRUE(service.validate(changed).done()) << "its own record is not a rival";
    std::vector<RightRecord> ofOperator = service.rightsOfOperator("002");
    ASSERT_EQ(ofOperator.size(), 3u);
    EXPECT_EQ(ofOperator.back(), changed);
    EXPECT_EQ(service.rightsOfWarehouse("01").size(), 6u);

    // A class code holding LIKE's own characters still finds the items
    // beneath it.
    m_login->Execute("insert into Inventory (cInvCode, cInvName, cInvCCode) "
                     "values ('BS1', 'x', 'A\\_%9')");
    RightRecord odd = right("002", "04", {}, "BS1");
    ASSERT_TRUE(service.insert(odd).done());
    RightRecord oddClass = right("002", "04", "A\\_%");
    EXPECT_EQ(service.insert(oddClass).message, rightrules::overlapMessage());

    // Deleted by another administrator: the save and the delete are told.
    m_db->connect("other")->Execute("delete from WarehAuth where Auto_id="
                                    + QString::number(changed.autoId));
    const ServiceResult gone = service.update(changed, changed);
    EXPECT_EQ(gone.refusal, services::Refusal::DeletedMeanwhile);
    EXPECT_EQ(gone.message, RightsService::goneOnSaveMessage());
    EXPECT_EQ(count("Auto_id=" + QString::number(changed.autoId)), 0) << "not stored again";
    EXPECT_TRUE(service.remove(narrowed.autoId).done());
    EXPECT_EQ(service.remove(narrowed.autoId).refusal, services::Refusal::DeletedMeanwhile);
    EXPECT_FALSE(service.find(narrowed.autoId).has_value());
}

// Another administrator changed the right since it was read: the update
// names the right as read, is refused and overwrites nothing; read again,
// it is stored. A right read as not showing money may hold Null there.
TEST_P(RightsServiceTest, ARightChangedSinceItWasReadIsNotOverwritten)
{
    RightsService service(*m_login);
    RightRecord read = right("002", "01", {}, "010201");
    ASSERT_TRUE(service.insert(read).done());
    const QString key = "Auto_id=" + QString::number(read.autoId);
    m_db->connect("other")->Execute("update WarehAuth set bDispMoney=1 where " + key);

    RightRecord mine = read;
    mine.itemCode = "010202";
    const ServiceResult changed = service.update(mine, read);
    EXPECT_FALSE(changed.done());
    EXPECT_EQ(changed.message, RightsService::changedOnSaveMessage());
    EXPECT_EQ(count(key + " and cInvCode='010201' and bDispMoney=1"), 1);

    read = *service.find(read.autoId);
    mine.showMoney = read.showMoney;
    EXPECT_TRUE(service.update(mine, read).done());
    m_login->Execute("update WarehAuth set bDispMoney=null where " + key);
    read = *service.find(read.autoId);
    mine.itemCode = "010201";
    EXPECT_TRUE(service.update(mine, read).done());
    EXPECT_EQ(service.find(read.autoId), mine);
}

// What the engine refuses is told in the user's words first: a value too
// long for its column by the catalogue's text, any other refusal (here a
// site's own trigger) by what failed and what to do, the engine's text below.
TEST_P(RightsServiceTest, EngineRefusalsAreToldInTheUsersWordsFirst)
{
    RightsService service(*m_login);
    const long long before = count("1=1");
    RightRecord tooLong = right("002", "04");
    tooLong.operatorName = QString(30, QChar(u'名'));
    EXPECT_EQ(service.insert(tooLong).message, depotbase::LoadResString(85));

    if (GetParam() == TestEngine::SQLite) {
        m_login->Execute("CREATE TRIGGER no_rights BEFORE INSERT ON WarehAuth "
                         "BEGIN SELECT RAISE(ABORT, 'rights are frozen'); END");
    } else {
        m_login->Execute("CREATE FUNCTION no_rights() RETURNS trigger LANGUAGE plpgsql AS "
                         "$$BEGIN RAISE EXCEPTION 'rights are frozen'; END$$");
        m_login->Execute("CREATE TRIGGER no_rights BEFORE INSERT ON WarehAuth "
                         "FOR EACH ROW EXECUTE FUNCTION no_rights()");
    }
    RightRecord frozen = right("002", "04");
    const QString told = service.insert(frozen).message;
    EXPECT_TRUE(told.startsWith(QStringLiteral("权限未能保存，请检查后重试。\n"))) << qPrintable(told);
    EXPECT_TRUE(told.contains("rights are frozen")) << qPrintable(told);
    EXPECT_EQ(count("1=1"), before);
}

// One administrator has stored class 01 for 002 on 02 and not committed yet
// when a second stores class 0101 there. The second waits for the first and
// then sees its right: only one of the two crossing rights is stored.
TEST_P(RightsServiceTest, TwoWritersOfCrossingRightsAtOnceOneWins)
{
    dbkit::DbLoginPtr first = m_db->connect("first", "PC-A");
    first->BeginTrans();
    RightRecord broad = right("002", "02", "01");
    ASSERT_TRUE(RightsService(*first).insert(broad).done());

    ServiceResult secondResult;
    std::string failure;
    std::thread second([&] {
        try {
            dbkit::DbLoginPtr login = m_db->connect("second", "PC-B");
            RightRecord narrow = right("002", "02", "0101");
            secondResult = RightsService(*login).insert(narrow);
        } catch (const std::exception &error) {
            failure = error.what();
        }
    });
    // Give the second writer time to reach the first one's lock.
    QThread::msleep(400);
    first->CommitTrans();
    second.join();
    ASSERT_EQ(failure, "");
    EXPECT_EQ(secondResult.message, rightrules::overlapMessage());
    EXPECT_EQ(count("Id='002' and cWhCode='02'"), 1);
    EXPECT_EQ(count("Id='002' and cWhCode='02' and cInvCCode='01'"), 1);
}

INSTANTIATE_TEST_SUITE_P(Engines, RightsServiceTest,
                         ::testing::ValuesIn(testsupport::kitEngines()),
                         [](const auto &engine) { return testsupport::engineName(engine.param); });
