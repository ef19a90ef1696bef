#include "suite/modal/ModalSeam.h"
#include "suite/modal/ScriptedModalSeam.h"

#include <QDialog>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

using namespace modal;

namespace {

struct Recorder {
    QStringList failures;
    std::unique_ptr<ModalSeam> previous;
    ScriptedModalSeam *seam = nullptr;
    Recorder()
    {
        auto s = std::make_unique<ScriptedModalSeam>([this](const QString &w) { failures << w; });
        seam = s.get();
        previous = installSeam(std::move(s));
    }
    ~Recorder() { installSeam(std::move(previous)); }
};

} // namespace

TEST(ScriptedModalSeam, AnswersExpectedMessagesAndChecksTheirDetails)
{
    Recorder r;
    r.seam->expectMessage("确实要删除仓库---一号库 吗?", Icon::Question, Buttons::YesNo, "提示信息",
                          Answer::Yes);
    r.seam->expectMessage("second", Answer::Ok);
    EXPECT_EQ(message(nullptr, "确实要删除仓库---一号库 吗?", Icon::Question, Buttons::YesNo,
                      "提示信息"),
              Answer::Yes);
    EXPECT_EQ(message(nullptr, "second", Icon::Critical, Buttons::Ok, "x"), Answer::Ok);
    EXPECT_TRUE(r.seam->verifyDone());
    EXPECT_TRUE(r.failures.isEmpty()) << r.failures.join("; ").toStdString();
}

TEST(ScriptedModalSeam, ReportsWrongCaptionIconAndUnofferedAnswer)
{
    Recorder r;
    r.seam->expectMessage("t", Icon::Critical, Buttons::Ok, "提示信息", Answer::Yes);
    message(nullptr, "t", Icon::Information, Buttons::Ok, "提示");
    EXPECT_EQ(r.failures.size(), 3);
}

TEST(ScriptedModalSeam, UnexpectedDialogsFailAndAnswerSafely)
{
    Recorder r;
    EXPECT_EQ(message(nullptr, "surprise", Icon::Question, Buttons::YesNo, "c"), Answer::No);
    QDialog d;
    d.setObjectName("frmSomething");
    EXPECT_EQ(showModal(&d), QDialog::Rejected);
    EXPECT_FALSE(d.isVisible());
    EXPECT_EQ(r.failures.size(), 2);
}

TEST(ScriptedModalSeam, RunsTheWindowScriptWhileShownAndClosesTheWindowAfter)
{
    Recorder r;
    QDialog d;
    d.setObjectName("frmFilter");
    auto *ok = new QPushButton("ok", &d);
    QObject::connect(ok, &QPushButton::clicked, &d, &QDialog::accept);
    bool wasVisible = false;
    r.seam->expectWindow("frmFilter", [&](QDialog *w) {
        wasVisible = w->isVisible();
        QTest::mouseClick(ok, Qt::LeftButton);
    });
    EXPECT_EQ(showModal(&d), QDialog::Accepted);
    EXPECT_TRUE(wasVisible);
    EXPECT_FALSE(d.isVisible());

    r.seam->expectWindow("frmFilter");
    EXPECT_EQ(showModal(&d), QDialog::Rejected);
    EXPECT_TRUE(r.failures.isEmpty()) << r.failures.join("; ").toStdString();
}

TEST(ScriptedModalSeam, ReportsExpectationsNeverMet)
{
    Recorder r;
    r.seam->expectMessage("never");
    EXPECT_FALSE(r.seam->verifyDone());
    EXPECT_EQ(r.failures.size(), 1);
}
