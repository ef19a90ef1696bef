// The window owner: made on first use, kept until unloaded, made afresh
// after; and the one way a form is shown.
#include "forms/FormSlot.h"
#include "support/SeamScript.h"

#include <QDialog>
#include <QStringList>
#include <gtest/gtest.h>
#include <memory>
#include <stdexcept>

using namespace depotbase;

namespace {

class TaggedForm : public QDialog {
public:
    explicit TaggedForm(int formTag, QWidget *parent = nullptr) : QDialog(parent), tag(formTag) {}
    const int tag;
};

TEST(FormSlotTest, MakesTheFormOnFirstUseAndAfreshAfterUnload)
{
    FormSlot<TaggedForm> slot;
    EXPECT_EQ(slot.current(), nullptr);
    TaggedForm &first = slot.get(1);
    // Later calls return the same form; their arguments are not used.
    EXPECT_EQ(&slot.get(2), &first);
    EXPECT_EQ(slot.get(2).tag, 1);
    slot.unload();
    EXPECT_EQ(slot.current(), nullptr);
    EXPECT_EQ(slot.get(3).tag, 3);
}

TEST(FormSlotTest, AFormItsParentDestroyedIsNotDeletedAgain)
{
    FormSlot<TaggedForm> slot;
    auto parent = std::make_unique<QWidget>();
    slot.get(1, parent.get());
    parent.reset();
    EXPECT_EQ(slot.current(), nullptr);
    EXPECT_EQ(slot.get(2).tag, 2);
}

TEST(FormSlotTest, ShowingUnloadsAfterTheWindowClosesAndWhenTheLoadFails)
{
    testsupport::SeamScript seam;
    QDialog form;
    form.setObjectName(QStringLiteral("form"));
    QStringList steps;
    auto load = [&] { steps << "load"; };
    auto unload = [&] { steps << "unload"; };
    seam->expectWindow(QStringLiteral("form"), [&](QDialog *) { steps << "shown"; });
    showModalForm(form, load, unload);
    EXPECT_EQ(steps, QStringList({"load", "shown", "unload"}));

    // A load that fails shows nothing (the seam refuses a window it does not
    // expect) and still unloads; the failure reaches the caller.
    steps.clear();
    auto failingLoad = [&] {
        steps << "load";
        throw std::runtime_error("unreadable");
    };
    EXPECT_THROW(showModalForm(form, failingLoad, unload), std::runtime_error);
    EXPECT_EQ(steps, QStringList({"load", "unload"}));
}

} // namespace
