// A read-only seat on a hot-standby replica: the whole component opened
// read-only on the standby's copy of an account reads, filters, finds, prints,
// outputs and shows rights without ever trying to write there, and its
// change feed tells it of the changes made on the primary.
#include "authority/AuthorityEditor.h"
#include "authority/AuthorityList.h"
#include "component/LXWareHouse.h"
#include "data/DataHelpers.h"
#include "services/ChangeFeed.h"
#include "services/RightsService.h"
#include "suite/controls/SuperGrid.h"
#include "suite/report/RTPrn.h"
#include "support/DemoAccount.h"
#include "support/SeamScript.h"
#include "warehouse/WarehouseList.h"

#include <QComboBox>
#include <QDeadlineTimer>
#include <QDialog>
#include <QFile>
#include <QPushButton>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QThread>
#include <QTreeWidget>
#include <QUrl>
#include <gtest/gtest.h>

using namespace depotbase;

namespace {

// The URL of the account's database on the replica: the replica's server,
// the account's database name.
QString onReplica(const QString &accountUrl)
{
    QUrl url(testsupport::pgReplicaUrl());
    url.setPath(QUrl(accountUrl).path());
    return url.toString();
}

// One answer of a statement on a server, through a connection of its own.
QString answerOf(const QString &serverUrl, const QString &statement)
{
    const QUrl url(serverUrl);
    const QString name = QStringLiteral("replica-test-probe");
    QString answer;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QPSQL", name);
        db.setHostName(url.host());
        db.setPort(url.port(5432));
        db.setUserName(url.userName());
        db.setDatabaseName(url.path().mid(1));
        if (!db.open()) {
            ADD_FAILURE() << "cannot reach " << serverUrl.toStdString() << ": "
                          << db.lastError().text().toStdString();
        } else {
            QSqlQuery q(db);
            if (q.exec(statement) && q.next())
                answer = q.value(0).toString();
            else
                ADD_FAILURE() << statement.toStdString() << " on " << serverUrl.toStdString()
                              << ": " << q.lastError().text().toStdString();
        }
    }
    QSqlDatabase::removeDatabase(name);
    return answer;
}

// Waits until the replica has replayed everything the primary wrote so far.
// The limit only keeps a stuck replica from hanging the run.
bool waitForReplay(const QString &primaryUrl)
{
    const QString written = answerOf(primaryUrl, "SELECT pg_current_wal_lsn()::text");
    const QString replayed = "SELECT pg_last_wal_replay_lsn() >= '" + written + "'::pg_lsn";
    QDeadlineTimer limit(120000);
    while (!limit.hasExpired()) {
        if (answerOf(testsupport::pgReplicaUrl(), replayed) == "true")
            return true;
        QThread::msleep(50);
    }
    return false;
}

// The filter dialog (filter and find share it): types a warehouse code and confirms.
std::function<void(QDialog *)> confirmCode(const QString &code)
{
    return [code](QDialog *dialog) {
        auto *box = dialog->findChild<QComboBox *>("cboWHCode");
        ASSERT_NE(box, nullptr);
        testsupport::typeText(box, code);
        QTest::mouseClick(dialog->findChild<QPushButton *>("cmdYes"), Qt::LeftButton);
    };
}

// A demo account on the test server, replayed on its standby.
class ReplicaReadOnly : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (qEnvironmentVariable("DEPOTBASE_SKIP_PG") == "1")
            GTEST_SKIP() << "DEPOTBASE_SKIP_PG=1";
        ASSERT_FALSE(testsupport::pgReplicaUrl().isEmpty())
            << "DEPOTBASE_PG_REPLICA_URL is not set: the test command starts a hot-standby "
               "replica of the test server beside it";
        m_primary = testsupport::openDemoAccount(testsupport::TestEngine::PostgreSQL, m_db);
        ASSERT_TRUE(waitForReplay(m_db->url()))
            << "the replica did not catch up with the primary";
        m_replicaUrl = onReplica(m_db->url());
        ASSERT_EQ(answerOf(m_replicaUrl, "SELECT pg_is_in_recovery()"), "true");
    }

    // A read-only seat's login on the standby.
    QString seatOnReplica() const { return m_replicaUrl + "?operator=demo&computer=PC-9"; }

    std::unique_ptr<testsupport::TempDatabase> m_db;
    dbkit::DbLoginPtr m_primary;
    QString m_replicaUrl;
};

TEST_F(ReplicaReadOnly, EveryReadingCommandWorksOnAHotStandby)
{
    QTemporaryDir systemFolder;
    testsupport::SeamScript seam;
    {
        LXWareHouse component;
        component.setSystemFolder(systemFolder.path());
        ASSERT_TRUE(component.Init(dbkit::DbLogin::open(seatOnReplica()),
                                   true));
        seam->expectWindow("frmWHBrowse", [&](QDialog *window) {
            auto &list = *static_cast<frmWHBrowse *>(window);
            auto click = [&](const char *key) { list.toolbarButton(key)->trigger(); };
            SuperGrid &grid = *list.SpGrdWH();
            EXPECT_TRUE(list.isReadOnly());
            EXPECT_EQ(grid.Rows(), 13);

            seam->expectWindow("frmFilter", confirmCode("03"));
            click("TlbFilter");
            ASSERT_EQ(grid.Rows(), 2);
            EXPECT_EQ(grid.TextMatrix(1, 0), "03");
            click("TlbRefresh");
            EXPECT_EQ(grid.Rows(), 13);
            seam->expectWindow("frmFilter", confirmCode("05"));
            click("TlbFind");
            EXPECT_EQ(NullToEmpty(list.mRecObject->Fields("cWhCode")), "05");

            // The card of a read-only list opens for reading.
            seam->expectWindow("frmWHCard");
            emit grid.DblClick();

            const QString pdf = systemFolder.filePath("list.pdf");
            list.RTPrn1().SetPrintToFile(pdf);
            click("TlbPrint");
            list.RTPrn1().SetPrintToFile(QString());
            EXPECT_TRUE(QFile::exists(pdf));
            const QString csv = systemFolder.filePath("仓库档案.csv");
            seam->expectSaveFile(csv);
            click("TlbOutput");
            EXPECT_TRUE(QFile::exists(csv));

            seam->expectWindow("FrmWHAuth", [&](QDialog *rightsList) {
                auto *rights = rightsList->findChild<SuperGrid *>("SpGrdWAuth");
                ASSERT_NE(rights, nullptr);
                EXPECT_EQ(rights->Rows(), 11);
                seam->expectWindow("FrmAuthority", [&](QDialog *editorWindow) {
                    auto &editor = *static_cast<FrmAuthority *>(editorWindow);
                    QTreeWidgetItem *node = editor.node("c001");
                    ASSERT_NE(node, nullptr);
                    QTest::mouseClick(editor.authTree()->viewport(), Qt::LeftButton, {},
                                      editor.authTree()->visualItemRect(node).center());
                    editor.waitForNode();
                    EXPECT_EQ(editor.rows().node.name, "张伟");
                    ASSERT_EQ(editor.authGrid()->Rows(), 3);
                    EXPECT_EQ(editor.authGrid()->TextMatrix(1, 3), "是");
                    editor.toolbarButton("exitbut")->trigger();
                });
                static_cast<FrmWHAuth *>(rightsList)->toolbarButton("TlbEdit")->trigger();
            });
            click("TlbAuth");
            click("TlbExit");
        });
        component.Show();
    }
    // Every step ran without a message: no refusal, no failed write.
    EXPECT_TRUE(seam->verifyDone());
    EXPECT_EQ(seam->shownMessages(), QStringList());
}

TEST_F(ReplicaReadOnly, AFeedOnTheStandbyIsToldOfAChangeOnThePrimary)
{
    // The account as --init leaves it: its history table is there, empty.
    AddChangeHistory(*m_primary);
    ASSERT_TRUE(waitForReplay(m_db->url()));
    std::vector<services::HistoryEntry> told;
    const auto following = services::ChangeFeed::follow(
        services::Account(dbkit::DbLogin::open(seatOnReplica())),
        [&told](const services::ChangeFeed::Changes &changes) {
            told.insert(told.end(), changes.begin(), changes.end());
        });

    const dbkit::DbLoginPtr administrator = m_db->connect("001", "PC-07");
    services::RightsService rights(*administrator);
    const std::vector<services::RightRecord> stored = rights.rightsOfOperator("001");
    ASSERT_FALSE(stored.empty());
    ASSERT_TRUE(rights.remove(stored.front().autoId).done());
    ASSERT_TRUE(waitForReplay(m_db->url()));
    following->askNow();

    ASSERT_TRUE(QTest::qWaitFor([&] { return !told.empty(); }, 10000));
    EXPECT_EQ(told.front().action, "delete");
    EXPECT_EQ(told.front().key, QString::number(stored.front().autoId));
    EXPECT_EQ(told.front().operatorCode, "001");
}

} // namespace
