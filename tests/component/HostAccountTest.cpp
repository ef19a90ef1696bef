// How the host opens the account it is given: identity items on a sqlite:
// URL, and an account that cannot be read told to the user in Chinese.
#include "component/HostAccount.h"
#include "support/SeamScript.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace depotbase;

TEST(HostAccount, SqliteUrlCarriesTheOperatorAndADamagedFileIsTold)
{
    QTemporaryDir folder;
    const QString path = folder.filePath("acct.db");
    // The items name the operator; the file is the path before them.
    EXPECT_EQ(OpenHostAccount("sqlite:" + path + "?operator=002", true)->operatorName(), "002");
    EXPECT_TRUE(QFileInfo::exists(path));
    EXPECT_EQ(OpenHostAccount("sqlite:" + path + "?operator=003&computer=PC3", false)
                  ->operatorName(),
              "003");

    const QString damaged = folder.filePath("damaged.db");
    QFile file(damaged);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray(8192, 'x'));
    file.close();
    testsupport::SeamScript seam;
    seam->expectMessage(QString(), modal::Icon::Critical, modal::Buttons::Ok, "提示信息",
                        modal::Answer::Ok);
    LXWareHouse component;
    const QString told = OpenAccountForWindows(component, {"sqlite:" + damaged, false, false,
                                                           true});
    EXPECT_TRUE(told.startsWith("无法打开账套数据库：sqlite:" + damaged + "\n它可能已损坏"))
        << told.toStdString();
    EXPECT_EQ(seam->shownMessages(), QStringList{told});
    EXPECT_EQ(component.mdbObject, nullptr);
    EXPECT_TRUE(seam->verifyDone());
}
