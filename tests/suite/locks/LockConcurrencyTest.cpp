#include "LockTestSupport.h"

#include <QCoreApplication>
#include <QProcess>
#include <QProcessEnvironment>
#include <QThread>
#include <QUrl>

#include <barrier>
#include <csignal>
#include <cstdio>
#include <thread>

using namespace lockstest;

namespace {

const char *holderUrlVariable = "DEPOTBASE_LOCK_HOLDER_URL";
const char *holderCodeVariable = "DEPOTBASE_LOCK_HOLDER_CODE";

// The body of the helper process started below: takes one lock, says so,
// and waits to be killed. Not run as a test of its own.
TEST(LockHolderProcess, DISABLED_HoldUntilKilled)
{
    const QString url = qEnvironmentVariable(holderUrlVariable);
    if (url.isEmpty())
        GTEST_SKIP() << "only run as the helper process of the killed-holder test";
    const ShortLease lease;
    auto login = dbkit::DbLogin::open(url);
    LockVouchDLL locker;
    ASSERT_TRUE(locker.LockRecords(*login, "BJ", "AA", "a", login->computerName(),
                                   {qEnvironmentVariable(holderCodeVariable)}));
    std::printf("\nLOCKED\n");
    std::fflush(stdout);
    QThread::sleep(60);
    FAIL() << "the holder process was not killed";
}

TEST_P(LockTest, LockOfAKilledProcessDoesNotBlock)
{
    const QString code = "K'1";
    QProcess holder;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(holderUrlVariable, db.url() + "?operator=carol&computer=PC-C");
    env.insert(holderCodeVariable, code);
    holder.setProcessEnvironment(env);
    holder.setProgram(QCoreApplication::applicationFilePath());
    holder.setArguments({"--gtest_also_run_disabled_tests",
                         "--gtest_filter=LockHolderProcess.DISABLED_HoldUntilKilled"});
    holder.start();
    ASSERT_TRUE(holder.waitForStarted(10000));
    QByteArray output;
    while (!output.contains("\nLOCKED\n") && holder.state() == QProcess::Running)
        if (holder.waitForReadyRead(20000))
            output += holder.readAllStandardOutput();
        else
            break;
    ASSERT_TRUE(output.contains("\nLOCKED\n")) << output.toStdString();

    EXPECT_FALSE(lock(*bob, {code}));
    if (testsupport::isServerEngine(GetParam())) {
        // A pooled server connection the holder used last keeps its name.
        const std::optional<locks::LockRow> held = locker.Holder(*bob, "BJ", code);
        ASSERT_TRUE(held);
        bob->OpenDataSet("SELECT set_config('application_name', ?, false)",
                         {dbkit::DbLogin::sessionApplicationName(held->session)});
    }
    ::kill(static_cast<pid_t>(holder.processId()), SIGKILL);
    ASSERT_TRUE(holder.waitForFinished(10000));
    EXPECT_TRUE(lockWithin(*bob, {code}));
    EXPECT_FALSE(lock(*alice, {code}));
}

// Two operators ask at the same moment: for one code exactly one wins; for
// different codes neither is refused.
TEST_P(LockTest, RacingOperatorsGetOneWinnerPerCode)
{
    ASSERT_TRUE(lock(*alice, {"00"}));  // the table exists before the race
    constexpr int rounds = 12;
    std::vector<bool> results[2];
    std::string failures[2];
    std::barrier sync(2);
    auto run = [&](int who) {
        try {
            auto login = db.connect(who == 0 ? "dave" : "erin", "PC-R");
            LockVouchDLL own;
            for (int i = 0; i < rounds; ++i) {
                sync.arrive_and_wait();
                results[who].push_back(
                    own.LockRecords(*login, "BJ", "AA", "a", "PC-R", {QString("R%1").arg(i)}));
                sync.arrive_and_wait();
                results[who].push_back(own.LockRecords(*login, "BJ", "AA", "a", "PC-R",
                                                       {QString("S%1-%2").arg(i).arg(who)}));
            }
        } catch (const std::exception &error) {
            failures[who] = error.what();
            sync.arrive_and_drop();
        }
    };
    std::thread first(run, 0);
    std::thread second(run, 1);
    first.join();
    second.join();
    ASSERT_EQ(failures[0] + failures[1], "");
    for (int i = 0; i < rounds; ++i) {
        const size_t at = 2 * size_t(i);
        EXPECT_EQ(int(results[0][at]) + int(results[1][at]), 1) << "round " << i;
        EXPECT_TRUE(results[0][at + 1] && results[1][at + 1]) << "round " << i;
    }
}

} // namespace
