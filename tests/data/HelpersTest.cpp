#include "data/Catalogue.h"
#include "data/DataHelpers.h"
#include "data/SqlScript.h"

#include <QVariant>
#include <gtest/gtest.h>

using namespace depotbase;

TEST(Catalogue, UnknownIdsAreEmpty)
{
    EXPECT_EQ(LoadResString(17), QStringLiteral("提示信息"));
    EXPECT_TRUE(LoadResString(1).isEmpty());
    EXPECT_TRUE(LoadResString(144).isEmpty());
    EXPECT_TRUE(LoadResString(-5).isEmpty());
}

TEST(NullToEmpty, NullAndTextValues)
{
    EXPECT_EQ(NullToEmpty(QVariant()), QString());
    EXPECT_EQ(NullToEmpty(QVariant(QMetaType::fromType<QString>())), QString());
    EXPECT_EQ(NullToEmpty(QVariant(QMetaType::fromType<int>())), QString());
    EXPECT_EQ(NullToEmpty(QString()), QString());
    EXPECT_EQ(NullToEmpty(QStringLiteral("01 ")), QStringLiteral("01 "));
}

TEST(NullToEmpty, NumbersAsUsersWriteThem)
{
    EXPECT_EQ(NullToEmpty(0), QStringLiteral("0"));
    EXPECT_EQ(NullToEmpty(0.0), QStringLiteral("0"));
    EXPECT_EQ(NullToEmpty(-0.0), QStringLiteral("0"));
    EXPECT_EQ(NullToEmpty(12.0), QStringLiteral("12"));
    EXPECT_EQ(NullToEmpty(12.5), QStringLiteral("12.5"));
    EXPECT_EQ(NullToEmpty(3.14159), QStringLiteral("3.14159"));
    EXPECT_EQ(NullToEmpty(0.1), QStringLiteral("0.1"));
    EXPECT_EQ(NullToEmpty(-2.25), QStringLiteral("-2.25"));
    EXPECT_EQ(NullToEmpty(1e20), QStringLiteral("100000000000000000000"));
    EXPECT_EQ(NullToEmpty(0.00001), QStringLiteral("0.00001"));
    EXPECT_EQ(NullToEmpty(QVariant(qlonglong(12345678901234))), QStringLiteral("12345678901234"));
}

TEST(EmptyToNull, OnlyTheEmptyTextBecomesNull)
{
    EXPECT_TRUE(EmptyToNull(QString()).isNull());
    EXPECT_TRUE(EmptyToNull(QStringLiteral("")).isNull());
    EXPECT_EQ(EmptyToNull(QStringLiteral("01")).toString(), QStringLiteral("01"));
    // Blanks are a value: the card stores what was typed.
    EXPECT_EQ(EmptyToNull(QStringLiteral(" ")).toString(), QStringLiteral(" "));
}

TEST(SqlScript, SplitsOnlyAtStatementEnds)
{
    const QString script = QStringLiteral(
        "-- heading; not a statement\n"
        "CREATE TABLE a (x varchar(3)); /* a ; in a comment */\n"
        "INSERT INTO a VALUES ('x;y'), ('it''s;'); \n"
        "INSERT INTO \"odd;name\" VALUES (1);\n"
        "CREATE FUNCTION f() RETURNS int AS $$ SELECT 1; $$ LANGUAGE sql;\n"
        "SELECT $1, 2 ; ;\n"
        "SELECT 3");
    const QStringList parts = splitSqlScript(script);
    ASSERT_EQ(parts.size(), 6);
    EXPECT_EQ(parts[0], QStringLiteral("CREATE TABLE a (x varchar(3))"));
    EXPECT_EQ(parts[1], QStringLiteral("INSERT INTO a VALUES ('x;y'), ('it''s;')"));
    EXPECT_EQ(parts[2], QStringLiteral("INSERT INTO \"odd;name\" VALUES (1)"));
    EXPECT_EQ(parts[3], QStringLiteral("CREATE FUNCTION f() RETURNS int AS $$ SELECT 1; $$ "
                                       "LANGUAGE sql"));
    EXPECT_EQ(parts[4], QStringLiteral("SELECT $1, 2"));
    EXPECT_EQ(parts[5], QStringLiteral("SELECT 3"));
    EXPECT_TRUE(splitSqlScript(QStringLiteral("  -- only a comment\n ; ")).isEmpty());
}
