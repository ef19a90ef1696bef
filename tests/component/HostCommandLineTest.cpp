// The host program's command line on a server without a display.
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// Runs the host with no window system at all; its exit code and output.
int runHeadless(const QStringList &arguments, QString *output = nullptr)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        environment.remove(QLatin1String(name));
    QProcess host;
    host.setProcessEnvironment(environment);
    host.setProcessChannelMode(QProcess::MergedChannels);
    host.start(QStringLiteral(DEPOTBASE_HOST_PROGRAM), arguments);
    EXPECT_TRUE(host.waitForFinished(60000));
    if (output)
        *output = QString::fromLocal8Bit(host.readAll());
    return host.exitStatus() == QProcess::NormalExit ? host.exitCode() : -1;
}

} // namespace

// Help and --init need no display; an account path holding "?" and "#"
// names that file, not a shorter one.
TEST(HostCommandLine, HelpAndInitWorkWithoutADisplay)
{
    QString output;
    EXPECT_EQ(runHeadless({"--help"}, &output), 0) << output.toStdString();
    EXPECT_TRUE(output.contains("--account")) << output.toStdString();

    QTemporaryDir folder;
    const QString path = folder.filePath("a?b#c.db");
    EXPECT_EQ(runHeadless({"--init", "sqlite:" + path}, &output), 0) << output.toStdString();
    EXPECT_TRUE(QFileInfo::exists(path));
    EXPECT_FALSE(QFileInfo::exists(folder.filePath("a")));
}

// --check-right answers in one line and by its exit status, without a display.
TEST(HostCommandLine, CheckRightPrintsTheAnswerAndExitsWithItsStatus)
{
    QTemporaryDir folder;
    const QString url = "sqlite:" + folder.filePath("demo.db");
    QString output;
    EXPECT_EQ(runHeadless({"--account", url, "--demo", "--check-right", "002", "01", "010101"},
                          &output),
              0);
    EXPECT_EQ(output, "allowed amounts-shown\n");
    // An operator item on a sqlite: URL, and --operator, leave the file as named.
    EXPECT_EQ(runHeadless({"--account", url + "?operator=002", "--operator", "003",
                           "--check-right", "002", "03"}, &output),
              0);
    EXPECT_EQ(output, "allowed amounts-hidden\n");
    EXPECT_EQ(runHeadless({"--account", url, "--check-right", "004", "01"}, &output), 1);
    EXPECT_EQ(output, "denied inactive-operator\n");
    EXPECT_EQ(runHeadless({"--account", url, "--check-right", "001"}, &output), 0);
    EXPECT_EQ(output, "01\tamounts-shown\twhole-warehouse\n"
                      "02\tamounts-hidden\tpart-of-warehouse\n");
    // Errors are 2, whatever went wrong: no account, no such option.
    EXPECT_EQ(runHeadless({"--account", "sqlite:" + folder.filePath("none.db"), "--check-right",
                           "001", "01"}, &output),
              2);
    EXPECT_EQ(runHeadless({"--account", url, "--check-right", "001", "01", "--nope"}, &output),
              2);
}
