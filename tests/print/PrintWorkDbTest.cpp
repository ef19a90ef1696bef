// The print-work database: made anew at each load, shared as it is while
// another window or process holds it, and its layout tables.
#include "print/LayoutTable.h"
#include "print/PrintWorkDb.h"
#include "support/SeamScript.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <QThread>
#include <QTime>
#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

using namespace depotbase;

namespace {

QString fileIn(const QTemporaryDir &dir) { return dir.filePath("LxInit9.mdb"); }

QStringList tablesOf(const PrintWorkDb &db)
{
    QSqlQuery query(db.database());
    query.exec("SELECT name FROM sqlite_master WHERE type = 'table' ORDER BY name");
    QStringList names;
    while (query.next())
        names << query.value(0).toString();
    return names;
}

// True while some other open file description holds the lock beside `path`.
bool lockedElsewhere(const QString &path)
{
    const int fd = ::open(QFile::encodeName(path + ".lock").constData(), O_RDWR | O_CREAT, 0644);
    if (fd < 0)
        return false;
    const bool locked = ::flock(fd, LOCK_EX | LOCK_NB) != 0;
    ::close(fd);
    return locked;
}

class PrintWorkDbTest : public ::testing::Test {
protected:
    testsupport::SeamScript m_seam;
    QTemporaryDir m_dir;
};

TEST_F(PrintWorkDbTest, EachLoadStartsFromAFreshFile)
{
    {
        PrintWorkDbPtr first = OpenPrintWorkDb(m_dir.path(), "LxInit9.mdb");
        ASSERT_NE(first, nullptr);
        EXPECT_TRUE(first->holdsFile());
        EXPECT_EQ(first->filePath(), fileIn(m_dir));
        ASSERT_FALSE(CreateLayoutTable(first.get()).isEmpty());
        QSqlQuery info(first->database());
        ASSERT_TRUE(info.exec("SELECT cLocale FROM PrintWorkInfo"));
        ASSERT_TRUE(info.next());
        EXPECT_EQ(info.value(0).toString(), ";LANGID=0x0409;CP=1252;COUNTRY=0");
    }
    // A journal left by a crash must not be replayed into the new file.
    QFile journal(fileIn(m_dir) + "-journal");
    ASSERT_TRUE(journal.open(QIODevice::WriteOnly));
    journal.write(QByteArray(4096, 'x'));
    journal.close();

    PrintWorkDbPtr second = OpenPrintWorkDb(m_dir.path(), "LxInit9.mdb");
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(tablesOf(*second), QStringList{"PrintWorkInfo"});
    EXPECT_FALSE(QFile::exists(fileIn(m_dir) + "-journal"));
    EXPECT_TRUE(lockedElsewhere(fileIn(m_dir)));
    second->close();
    EXPECT_FALSE(second->isOpen());
    EXPECT_FALSE(lockedElsewhere(fileIn(m_dir)));
    EXPECT_EQ(CreateLayoutTable(second.get()), "");
}

TEST_F(PrintWorkDbTest, AFileHeldByAnotherWindowIsUsedAsItIs)
{
    PrintWorkDbPtr holder = OpenPrintWorkDb(m_dir.path(), "LxInit9.mdb");
    ASSERT_NE(holder, nullptr);
    const QString table = CreateLayoutTable(holder.get());
    ASSERT_FALSE(table.isEmpty());

    PrintWorkDbPtr other = OpenPrintWorkDb(m_dir.path(), "LxInit9.mdb");
    ASSERT_NE(other, nullptr);
    EXPECT_FALSE(other->holdsFile());
    EXPECT_TRUE(other->hasTable(table));
    // Both write into the one file without taking each other's names.
    const QString mine = CreateLayoutTable(other.get());
    EXPECT_FALSE(mine.isEmpty());
    EXPECT_NE(mine, table);
    EXPECT_TRUE(holder->hasTable(mine));

    // The authority list's file is its own.
    PrintWorkDbPtr authority = OpenPrintWorkDb(m_dir.path(), "LxInit10.mdb");
    ASSERT_NE(authority, nullptr);
    EXPECT_TRUE(authority->holdsFile());
    EXPECT_FALSE(authority->hasTable(table));
}

TEST_F(PrintWorkDbTest, AFileHeldByAnotherProcessIsUsedAsItIs)
{
    {
        PrintWorkDbPtr earlier = OpenPrintWorkDb(m_dir.path(), "LxInit9.mdb");
        ASSERT_NE(earlier, nullptr);
        earlier->execute("CREATE TABLE TempPrint_150101010 (iType integer)");
    }
    QProcess holder;
    // The shell takes the lock and becomes the sleeping holder itself.
    holder.start("sh", {"-c", "exec 9>>\"$0\" && flock -n 9 && exec sleep 30",
                        fileIn(m_dir) + ".lock"});
    ASSERT_TRUE(holder.waitForStarted());
    for (int i = 0; i < 200 && !lockedElsewhere(fileIn(m_dir)); ++i)
        QThread::msleep(10);
    ASSERT_TRUE(lockedElsewhere(fileIn(m_dir)));

    PrintWorkDbPtr db = OpenPrintWorkDb(m_dir.path(), "LxInit9.mdb");
    ASSERT_NE(db, nullptr);
    EXPECT_FALSE(db->holdsFile());
    EXPECT_TRUE(db->hasTable("TempPrint_150101010"));
    holder.kill();
    holder.waitForFinished();
    // The flock helper the shell ran shares the lock until it has exited,
    // which a loaded machine may let it do a moment after the shell is gone.
    for (int i = 0; i < 200 && lockedElsewhere(fileIn(m_dir)); ++i)
        QThread::msleep(10);

    // Once the holder is gone, the next load makes the file anew.
    db.reset();
    db = OpenPrintWorkDb(m_dir.path(), "LxInit9.mdb");
    ASSERT_NE(db, nullptr);
    EXPECT_FALSE(db->hasTable("TempPrint_150101010"));
}

TEST_F(PrintWorkDbTest, AnyOtherFailureIsShownAndLeavesNoDatabase)
{
    // A folder that is a plain file cannot hold the print-work file.
    const QString notAFolder = m_dir.filePath("plain");
    QFile plain(notAFolder);
    ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
    plain.close();
    const QString lockPath = QDir(notAFolder).filePath("LxInit9.mdb.lock");
    m_seam->expectMessage(QStringLiteral("打印用的工作文件未能打开，请检查其文件夹是否存在且可写。\n"
                                         "无法打开文件 %1: %2")
                              .arg(lockPath, QString::fromLocal8Bit(std::strerror(ENOTDIR))),
                          modal::Icon::Critical, modal::Buttons::Ok, "提示", modal::Answer::Ok);
    EXPECT_EQ(OpenPrintWorkDb(notAFolder, "LxInit9.mdb"), nullptr);
    EXPECT_EQ(CreateLayoutTable(nullptr), "");
}

TEST_F(PrintWorkDbTest, LayoutTableHasItsNameAndElevenFields)
{
    PrintWorkDbPtr db = OpenPrintWorkDb(m_dir.path(), "LxInit9.mdb");
    ASSERT_NE(db, nullptr);
    const QTime before = QTime::currentTime();
    const QString name = CreateLayoutTable(db.get());
    const QTime after = QTime::currentTime();
    const auto match = QRegularExpression("^TempPrint_(1\\d\\d)(\\d{6})$").match(name);
    ASSERT_TRUE(match.hasMatch()) << name.toStdString();
    const QTime made = QTime::fromString(match.captured(2), "HHmmss");
    EXPECT_TRUE(made >= QTime(before.hour(), before.minute(), before.second()) && made <= after);
    EXPECT_EQ(layoutTableName, name);

    QSqlQuery columns(db->database());
    ASSERT_TRUE(columns.exec("PRAGMA table_info(" + name + ")"));
    QStringList shape;
    while (columns.next())
        shape << columns.value(1).toString() + " " + columns.value(2).toString();
    EXPECT_EQ(shape.join(", ").toLower().toStdString(),
              "itype integer, ix integer, iy integer, iw integer, ih integer, "
              "cfontname varchar(50), ifontsize integer, ctext varchar(255), "
              "isection tinyint, ialignment integer, cfontattr varchar(4)");
    // The text sizes hold.
    EXPECT_ANY_THROW(db->execute("INSERT INTO " + name
                                 + " (cFontAttr) VALUES ('BUBUB')"));
}

// Many print commands in one second: every one gets a table of its own.
TEST_F(PrintWorkDbTest, CommandsInTheSameSecondGetDistinctTables)
{
    PrintWorkDbPtr db = OpenPrintWorkDb(m_dir.path(), "LxInit9.mdb");
    ASSERT_NE(db, nullptr);
    QSet<QString> names;
    for (int i = 0; i < 60; ++i) {
        const QString name = CreateLayoutTable(db.get());
        ASSERT_FALSE(name.isEmpty());
        names.insert(name);
    }
    EXPECT_EQ(names.size(), 60);

    // With every number of this second and the next taken, nothing is reused.
    const QTime now = QTime::currentTime();
    for (const QTime &t : {now, now.addSecs(1)}) {
        for (int n = 100; n < 200; ++n) {
            const QString name = "TempPrint_" + QString::number(n) + t.toString("HHmmss");
            if (!db->hasTable(name))
                db->execute("CREATE TABLE " + name + " (iType integer)");
        }
    }
    const QStringList before = tablesOf(*db);
    const QString name = CreateLayoutTable(db.get());
    if (!name.isEmpty()) {
        EXPECT_FALSE(before.contains(name));
    }
}

} // namespace
