// The rows of a data set kept column by column: every value comes back as it
// went in, and a text that repeats down a column is stored once.
#include "suite/dbkit/internal/ColumnStore.h"
#include "suite/dbkit/internal/TextCache.h"

#include <QByteArray>
#include <gtest/gtest.h>
#include <vector>

namespace {

void appendUtf8(dbkit::Column &column, dbkit::TextCache &cache, const QByteArray &utf8)
{
    column.appendUtf8(utf8.constData(), int(utf8.size()), cache);
}

} // namespace

TEST(ColumnStore, EveryKindComesBackAsItWentIn)
{
    // 3,000 operators over 60,000 rows: the cache's table grows several
    // times, texts of one length and similar bytes sit side by side, and
    // every repeat names the first one's characters.
    dbkit::Column repeating;
    dbkit::TextCache cache;
    repeating.appendText(u"");   // the column's kind comes from its first value
    for (int row = 0; row < 60000; ++row)
        appendUtf8(repeating, cache, "操作员" + QByteArray::number(row % 3000));
    for (int row = 0; row < 60000; ++row) {
        const QString expected = QStringLiteral("操作员%1").arg(row % 3000);
        ASSERT_EQ(repeating.text(size_t(row) + 1), expected) << row;
        if (row >= 3000) {
            ASSERT_EQ(repeating.textView(size_t(row) + 1).data(),
                      repeating.textView(size_t(row) + 1 - 3000).data())
                << "stored once, row " << row;
        }
    }

    // Texts beyond the basic plane, empty beside Null, a changed and a
    // removed row, in a column of unique codes the cache gives up on.
    dbkit::Column texts;
    dbkit::TextCache unique;
    texts.appendNull();
    appendUtf8(texts, unique, QByteArray());
    appendUtf8(texts, unique, "𠀀𪚥仓库\xF0\x9F\x93\xA6");
    for (int row = 0; row < 40000; ++row)
        appendUtf8(texts, unique, "I" + QByteArray::number(1000000 + row));
    EXPECT_TRUE(texts.value(0).isNull());
    EXPECT_FALSE(texts.value(1).isNull());
    EXPECT_EQ(texts.value(1).toString(), QString());
    EXPECT_EQ(texts.text(2), QStringLiteral("𠀀𪚥仓库📦"));
    EXPECT_EQ(texts.text(40002), QStringLiteral("I1039999"));
    // A text longer than a block of the buffer gets one of its own, and the
    // texts after it read back too; so does a text whose UTF-8 was long but
    // whose characters are fewer.
    const QString memo = QString(40000, QChar(u'备'));
    texts.appendText(memo);
    appendUtf8(texts, unique, "after");
    appendUtf8(texts, unique, QString(12000, QChar(u'注')).toUtf8());
    EXPECT_EQ(texts.text(40003), memo);
    EXPECT_EQ(texts.text(40004), QStringLiteral("after"));
    EXPECT_EQ(texts.text(40005), QString(12000, QChar(u'注')));
    // A copy (a window writing to rows a grid shows) keeps the texts as
    // they were when the original changes.
    const dbkit::Column copy = texts;
    texts.set(2, QStringLiteral("改"));
    texts.remove(3);
    EXPECT_EQ(texts.text(2), QStringLiteral("改"));
    EXPECT_EQ(texts.text(3), QStringLiteral("I1000001"));
    EXPECT_EQ(copy.text(2), QStringLiteral("𠀀𪚥仓库📦"));
    EXPECT_EQ(copy.text(40003), memo);

    // Integers stay integers, reals exact, and a column of both is real.
    dbkit::ColumnStore store;
    store.reset(2);
    store.appendRow({qlonglong(9007199254740993LL), 0.1});
    store.appendRow({QVariant(), 3});
    EXPECT_EQ(store.value(0, 0).toLongLong(), 9007199254740993LL);
    EXPECT_TRUE(store.value(1, 0).isNull());
    EXPECT_EQ(store.value(0, 1).toDouble(), 0.1);
    EXPECT_EQ(store.value(1, 1).toDouble(), 3.0);
}

TEST(ColumnStore, AColumnWidensMidLoadKeepingEveryValue)
{
    // Codes and repeating names stay one byte a character until a text needs
    // UTF-16; every earlier text reads back after the switch, and a repeat
    // still names the characters its first row names.
    dbkit::Column texts;
    dbkit::TextCache cache;
    texts.appendText(u"");
    const auto expected = [](int row) {
        return row % 2 ? QStringLiteral("CODE%1").arg(1000000 + row)
                       : QStringLiteral("W%1").arg(row / 2 % 300);
    };
    for (int row = 0; row < 12000; ++row)
        appendUtf8(texts, cache, expected(row).toUtf8());
    texts.appendText(u"Café №");   // UTF-16 from here on
    for (int row = 0; row < 600; row += 2)
        appendUtf8(texts, cache, expected(row).toUtf8());
    for (int row = 0; row < 12000; ++row)
        ASSERT_EQ(texts.text(size_t(row) + 1), expected(row)) << row;
    EXPECT_EQ(texts.text(12001), QStringLiteral("Café №"));
    for (int repeat = 0; repeat < 300; ++repeat)
        ASSERT_EQ(texts.textView(12002 + size_t(repeat)).data(),
                  texts.textView(1 + 2 * size_t(repeat)).data())
            << repeat;

    // Flags take a byte until a wider number comes, by a load or a set().
    dbkit::Column loaded;
    const std::vector<qint64> values = {1, 0, -128, 300, -70000, 5000000000LL, 1};
    for (const qint64 value : values)
        loaded.appendInteger(value);
    for (size_t row = 0; row < values.size(); ++row)
        EXPECT_EQ(loaded.integer(row), values[row]) << row;
    dbkit::Column changed;
    for (const qint64 value : {1, 0, 1})
        changed.appendInteger(value);
    changed.set(1, qlonglong(-9007199254740993LL));
    EXPECT_EQ(changed.integer(0), 1);
    EXPECT_EQ(changed.integer(1), -9007199254740993LL);
    EXPECT_EQ(changed.integer(2), 1);
}
