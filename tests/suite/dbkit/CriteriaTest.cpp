#include "DbKitFixture.h"

#include "suite/dbkit/internal/Criteria.h"
#include "suite/dbkit/DbDataSet.h"

#include <QHash>
#include <QRandomGenerator>
#include <QVariantList>

using namespace dbkit;

namespace {

// Evaluates a criterion against one row given as name -> value.
bool rowMatches(const QString &criteria, const QVariantMap &row)
{
    QStringList names = row.keys();
    const Criteria c = Criteria::compile(criteria, [&](const QString &name) {
        const QString plain = name.mid(name.lastIndexOf('.') + 1);
        for (int i = 0; i < names.size(); ++i)
            if (names[i].compare(plain, Qt::CaseInsensitive) == 0)
                return i;
        return -1;
    });
    return c.matches([&](int column) { return row.value(names[column]); });
}

int criteriaError(const QString &criteria)
{
    try {
        rowMatches(criteria, {{"a", 1}});
    } catch (const DbError &e) {
        return e.number();
    }
    return 0;
}

} // namespace

TEST(Criteria, ValueSemantics)
{
    const QVariantMap row{{"code", "01"},    {"name", "Main store"}, {"quota", 12.45},
                          {"flag", 0},       {"dep", QVariant()},    {"numtext", "12"},
                          {"big", qlonglong(5000000000LL)}};
    EXPECT_TRUE(rowMatches("code='01'", row));
    EXPECT_FALSE(rowMatches("code='1'", row));        // text compares exactly
    EXPECT_FALSE(rowMatches("name='main store'", row));
    EXPECT_TRUE(rowMatches("code=1", row));           // a numeric text against a number
    EXPECT_FALSE(rowMatches("name=1", row));          // a non-numeric text never equals one
    EXPECT_TRUE(rowMatches("numtext>=12 And numtext<12.5", row));
    EXPECT_TRUE(rowMatches("flag=0 and FLAG<>1", row));
    EXPECT_TRUE(rowMatches("flag='0'", row));
    EXPECT_TRUE(rowMatches("round(quota,1) =12.5", row));
    EXPECT_TRUE(rowMatches("round(quota) = 12", row));
    EXPECT_TRUE(rowMatches("big > 4999999999", row));
    EXPECT_TRUE(rowMatches("quota > -1 and quota < 1e3", row));
    // Null: never equal, never unequal, Not of unknown stays unknown.
    EXPECT_FALSE(rowMatches("dep='x'", row));
    EXPECT_FALSE(rowMatches("dep<>'x'", row));
    EXPECT_FALSE(rowMatches("Not dep='x'", row));
    EXPECT_TRUE(rowMatches("dep Is Null", row));
    EXPECT_FALSE(rowMatches("dep is not null", row));
    EXPECT_TRUE(rowMatches("code IS NOT NULL", row));
    EXPECT_TRUE(rowMatches("dep='x' Or code='01'", row));
    // Like.
    EXPECT_TRUE(rowMatches("name Like 'Main%'", row));
    EXPECT_TRUE(rowMatches("name LIKE '%store'", row));
    EXPECT_TRUE(rowMatches("name like 'M_in %e'", row));
    EXPECT_FALSE(rowMatches("name like 'Main'", row));
    EXPECT_TRUE(rowMatches("name not like 'x%'", row));
    EXPECT_TRUE(rowMatches("code like '0%'", row));
}

TEST(Criteria, PrecedenceAndParentheses)
{
    const QVariantMap row{{"a", 1}, {"b", 2}, {"c", 3}};
    // Not binds before And, And before Or.
    EXPECT_TRUE(rowMatches("a=1 Or a=9 And b=9", row));
    EXPECT_FALSE(rowMatches("(a=1 Or a=9) And b=9", row));
    EXPECT_TRUE(rowMatches("Not a=9 And b=2", row));
    EXPECT_FALSE(rowMatches("Not (a=1 And b=2)", row));
    EXPECT_TRUE(rowMatches("not not a=1", row));
    EXPECT_TRUE(rowMatches("((a=1)) and (b=2 or c=0)", row));
    EXPECT_TRUE(rowMatches("t.a = 1 and [b] = 2", row));
    EXPECT_TRUE(rowMatches("1 = a", row));
}

TEST(Criteria, UnparseableCriteriaRaise)
{
    for (const QString &bad :
         {QString(), QStringLiteral("   "), QStringLiteral("a="), QStringLiteral("a='x"),
          QStringLiteral("nosuch=1"), QStringLiteral("a=1 And"), QStringLiteral("(a=1"),
          QStringLiteral("a=1)"), QStringLiteral("a 1"), QStringLiteral("a=1 b=2"),
          QStringLiteral("a Is 1"), QStringLiteral("round(a,x)=1"), QStringLiteral("a=#1#"),
          QStringLiteral("a==1"), QStringLiteral("a=1 Or Or a=2"), QStringLiteral("a=12ab"),
          QString(5000, '(') + "a=1"})
        EXPECT_EQ(criteriaError(bad), ErrorNumber::BadCriteria) << bad.left(40).toStdString();
}

TEST(Criteria, RandomCriteriaNeverCrash)
{
    const QStringList pieces = {"cWhCode", "a", "b", "=", "<>", "<", ">=", "'x'", "'it''s'", "'",
                                "12", "-3.5", "(", ")", "And", "Or", "Not", "Like", "'%a_'",
                                "Is", "Null", "round(", ",", "1)", "[", "]", "é", "\"", "@@",
                                " ", "1e", "..", "t.a"};
    const QVariantMap row{{"cWhCode", "01"}, {"a", 1.5}, {"b", QVariant()}, {"t", "x"}};
    QRandomGenerator random(20240611);
    int parsed = 0;
    for (int round = 0; round < 20000; ++round) {
        QString text;
        const int length = random.bounded(1, 12);
        for (int i = 0; i < length; ++i) {
            if (random.bounded(10) == 0)
                text += QChar(char16_t(random.bounded(1, 0x3000)));
            else
                text += pieces[random.bounded(pieces.size())] + ' ';
        }
        try {
            rowMatches(text, row);
            ++parsed;
        } catch (const DbError &e) {
            ASSERT_EQ(e.number(), ErrorNumber::BadCriteria) << text.toStdString();
        }
    }
    EXPECT_GT(parsed, 0);
}

class FindFirstTest : public DbKitTest {};

TEST_P(FindFirstTest, FormsTheComponentUses)
{
    auto rs = db().OpenDataSet(listSql());
    rs->FindFirst("cWhCode='02'");
    EXPECT_FALSE(rs->NoMatch());
    EXPECT_EQ(rs->Fields("cWhName").toString(), "二号库");
    rs->FindFirst("cDepCode='D1' Or cDepName='D1'");
    EXPECT_EQ(rs->Fields("cWhCode").toString(), "01");
    rs->FindFirst("cDepCode='Sales' Or cDepName='Sales'");
    EXPECT_EQ(rs->Fields("cWhCode").toString(), "02");
    rs->FindFirst("cWHCode='01' And cWHName='Main store' And round(iQuota,1) =12.5 And bPos=0");
    EXPECT_FALSE(rs->NoMatch());
    EXPECT_EQ(rs->Fields("cWhCode").toString(), "01");
    rs->FindFirst("bPos=1");
    EXPECT_EQ(rs->Fields("cWhCode").toString(), "02");
    rs->FindFirst("cWhName='" + quoted("O'Brien") + "'");
    EXPECT_EQ(rs->Fields("cWhCode").toString(), "03");
    rs->FindFirst("Dept.cDepName Is Null");
    EXPECT_EQ(rs->Fields("cWhCode").toString(), "03");

    auto grants = db().OpenDataSet("select * from Grants");
    grants->FindFirst("Auto_ID=" + QString::number(2));
    EXPECT_EQ(grants->Fields("cUser").toString(), "bob");
    grants->FindFirst("Auto_id=1");
    EXPECT_EQ(grants->Fields("cUser").toString(), "alice");
}

TEST_P(FindFirstTest, NoMatchKeepsTheCurrentRecord)
{
    auto rs = db().OpenDataSet(listSql());
    rs->MoveNext();
    rs->FindFirst("cWhCode='99'");
    EXPECT_TRUE(rs->NoMatch());
    EXPECT_EQ(rs->Fields("cWhCode").toString(), "02");
    EXPECT_THROW(rs->FindFirst("cWhCode='99"), DbError);
    EXPECT_THROW(rs->FindFirst("noColumn='1'"), DbError);
    EXPECT_EQ(rs->Fields("cWhCode").toString(), "02");
    rs->FindFirst("cWhCode='03'");
    EXPECT_FALSE(rs->NoMatch());

    auto empty = db().OpenDataSet("select * from Store where 1=0");
    empty->FindFirst("cWhCode='01'");
    EXPECT_TRUE(empty->NoMatch());
    EXPECT_TRUE(empty->Eof());
}

DBKIT_ENGINES(FindFirstTest);
