// The edit box's input rules: refused characters, length, numbers only, paste.
#include "suite/controls/EditBox.h"
#include "support/SeamScript.h"

#include <QApplication>
#include <QClipboard>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>
#include <gtest/gtest.h>

TEST(EditBox, RefusedCharactersBeepAndAreLeftOut)
{
    testsupport::SeamScript seam;
    EditBox box;
    box.setRefusedChars("'|");
    box.setMaxLength(6);
    QSignalSpy change(&box, &EditBox::Change);
    QTest::keyClicks(&box, "ab'c|d");
    EXPECT_EQ(box.Text(), "abcd");
    EXPECT_EQ(seam->beeps(), 2);
    EXPECT_EQ(change.count(), 4);
    QTest::keyClicks(&box, "efgh");
    EXPECT_EQ(box.Text(), "abcdef") << "the maximum length holds";
    EXPECT_EQ(seam->beeps(), 4) << "each key past it beeps";

    // Text the program sets is taken as it is, without a beep.
    box.setText("O'B|x");
    EXPECT_EQ(box.Text(), "O'B|x");
    EXPECT_EQ(seam->beeps(), 4);
    EXPECT_EQ(change.count(), 7);
}

TEST(EditBox, NumbersOnlyTakesDigitsOneDotAndALeadingMinus)
{
    testsupport::SeamScript seam;
    EditBox quota;
    quota.setNumbersOnly(true);
    quota.setRefusedChars("'|-");
    QTest::keyClicks(&quota, "12a.5.6-");
    EXPECT_EQ(quota.Text(), "12.56");
    EXPECT_EQ(seam->beeps(), 3);

    EditBox signedBox;
    signedBox.setNumbersOnly(true);
    QTest::keyClicks(&signedBox, "-5-");
    EXPECT_EQ(signedBox.Text(), "-5") << "a minus only in front";
    EXPECT_EQ(seam->beeps(), 4);
}

TEST(EditBox, PastedTextObeysTheSameRules)
{
    testsupport::SeamScript seam;
    EditBox name;
    name.setRefusedChars("'|");
    QApplication::clipboard()->setText("x'y|z");
    name.paste();
    EXPECT_EQ(name.Text(), "xyz");
    EXPECT_EQ(seam->beeps(), 1);

    EditBox quota;
    quota.setNumbersOnly(true);
    quota.setRefusedChars("-");
    QApplication::clipboard()->setText("1a2-3");
    quota.paste();
    EXPECT_EQ(quota.Text(), "123");
    QApplication::clipboard()->setText("4.5.6");
    quota.paste();
    EXPECT_EQ(quota.Text(), "123") << "no number: the paste is refused whole";
    EXPECT_EQ(seam->beeps(), 3);
}

TEST(EditBox, LostFocusWhenTheFocusMovesOn)
{
    testsupport::SeamScript seam;
    QWidget window;
    auto *layout = new QVBoxLayout(&window);
    auto *first = new EditBox(&window);
    auto *second = new EditBox(&window);
    layout->addWidget(first);
    layout->addWidget(second);
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    QSignalSpy lost(first, &EditBox::LostFocus);
    first->setFocus();
    QTest::keyClick(first, Qt::Key_Tab);
    EXPECT_TRUE(second->hasFocus());
    EXPECT_EQ(lost.count(), 1);
}

TEST(EditBox, LengthCountsCharactersNulIsRefusedProgramTextIsWhole)
{
    testsupport::SeamScript seam;
    EditBox box;
    box.setMaxLength(3);
    // 𠀀 and the emoji are one character each but two UTF-16 units.
    const QString wide = QString::fromUtf8("𠀀😀");
    QTest::sendKeyEvent(QTest::Click, &box, Qt::Key_unknown, wide.left(2), Qt::NoModifier);
    QTest::sendKeyEvent(QTest::Click, &box, Qt::Key_unknown, wide.mid(2), Qt::NoModifier);
    QTest::keyClicks(&box, "ab");
    EXPECT_EQ(box.Text(), wide + "a");
    EXPECT_EQ(seam->beeps(), 1);
    QApplication::clipboard()->setText(QString(QChar(0)) + "x");
    box.setText("");
    box.paste();
    EXPECT_EQ(box.Text(), "x") << "a pasted NUL never reaches the text";
    EXPECT_EQ(seam->beeps(), 2);

    // Longer text from the program stays whole and may be shortened.
    const QString stored = wide + wide + wide;
    box.setText(stored);
    EXPECT_EQ(box.Text(), stored);
    box.end(false);
    QTest::keyClick(&box, Qt::Key_Backspace);
    EXPECT_EQ(box.Text(), wide + wide + wide.left(2));
    QTest::keyClicks(&box, "z");
    EXPECT_EQ(box.Text(), wide + wide + wide.left(2)) << "no room to grow";

    EditBox quota;
    quota.setNumbersOnly(true);
    quota.setDecimals(4);
    QTest::keyClicks(&quota, "3.141592");
    EXPECT_EQ(quota.Text(), "3.1415");
}
