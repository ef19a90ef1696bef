// The loaders' text cache: every text comes back exactly as it came, and a
// text that repeats down a column is one shared text.
#include "suite/dbkit/TextCache.h"

#include <QByteArray>
#include <gtest/gtest.h>

namespace {

QString through(dbkit::TextCache &cache, const QByteArray &utf8)
{
    return cache.text(utf8.constData(), int(utf8.size()));
}

} // namespace

TEST(TextCache, TextsComeBackExactlyAndRepeatsAreShared)
{
    // 3,000 operators over 60,000 rows: the table grows several times, and
    // texts of one length and similar bytes sit side by side.
    dbkit::TextCache repeating;
    const QString first = through(repeating, QByteArray("操作员0"));
    for (int row = 0; row < 60000; ++row) {
        const QByteArray utf8 = "操作员" + QByteArray::number(row % 3000);
        const QString text = through(repeating, utf8);
        ASSERT_EQ(text, QString::fromUtf8(utf8)) << row;
        if (row % 3000 == 0) {
            EXPECT_EQ(text.constData(), first.constData()) << "one shared text, row " << row;
        }
    }
    EXPECT_EQ(through(repeating, QByteArray()), QString());

    // A column of unique codes gives up sharing after its trial and still
    // gives every text back.
    dbkit::TextCache unique;
    for (int row = 0; row < 40000; ++row) {
        const QByteArray utf8 = "I" + QByteArray::number(1000000 + row);
        ASSERT_EQ(through(unique, utf8), QString::fromUtf8(utf8)) << row;
    }
}
