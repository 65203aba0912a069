#include "platform/db/DbParamList.h"
#include "platform/db/DbSqlParser.h"

#include "foundation/Exception.h"

#include <gtest/gtest.h>

TEST(DbSqlParser, FindsParametersOutsideQuotesCommentsAndCasts)
{
    struct Case {
        const char* sql;
        bool backslash;
        QStringList names;
        const char* positional;
    };
    const Case cases[] = {
        {"insert into t (a,b) values  (:p0,:p1)", false, {"p0", "p1"}, "insert into t (a,b) values  (?,?)"},
        {"select * from t where a=:x or b=:x", false, {"x", "x"}, "select * from t where a=? or b=?"},
        {"select ':no', \"a:b\", `c:d` from t where x=:yes", false, {"yes"}, "select ':no', \"a:b\", `c:d` from t where x=?"},
        {"select 'it''s :no' from t where x=:a", false, {"a"}, "select 'it''s :no' from t where x=?"},
        {"select 'C:\\' , :a", false, {"a"}, "select 'C:\\' , ?"},
        {"select 'it\\'s :no', :a", true, {"a"}, "select 'it\\'s :no', ?"},
        {"select x::int, :a from t", false, {"a"}, "select x::int, ? from t"},
        {"select 1 -- :no\n, :a /* :no */", false, {"a"}, "select 1 -- :no\n, ? /* :no */"},
        {"begin x := 1; end", false, {}, "begin x := 1; end"},
        {"select :a1_b$, :2", false, {"a1_b$", "2"}, "select ?, ?"},
        {"select 'unterminated :no", false, {}, "select 'unterminated :no"},
    };
    for (const Case& c : cases) {
        const DbParsedSql parsed = DbSqlParser::parse(QString::fromUtf8(c.sql), c.backslash);
        EXPECT_EQ(parsed.names, c.names) << c.sql;
        EXPECT_EQ(parsed.positionalSql, QString::fromUtf8(c.positional)) << c.sql;
    }
}

TEST(DbParamList, AssignsByPositionAndCopiesAsTemplate)
{
    DbParamList tmpl = DbParamList::fromStatement(QStringLiteral("insert into t values (:p0, :p1, :p0)"));
    ASSERT_EQ(tmpl.count(), 3);
    EXPECT_EQ(tmpl.at(2).name(), QStringLiteral("p0"));
    tmpl.at(0).setAsInteger(7);
    tmpl.at(1).setNull(ftWideString);
    tmpl.at(2).setAsDecimalText(QStringLiteral("-00012.50"));

    DbParamList copy = DbParamList::fromStatement(QStringLiteral("insert into u values (:a, :b, :c)"));
    copy.assignValues(tmpl);
    EXPECT_EQ(copy.at(0).name(), QStringLiteral("a"));
    EXPECT_EQ(copy.at(0).value().toInt64(), 7);
    EXPECT_TRUE(copy.at(1).isNull());
    EXPECT_EQ(copy.at(1).dataType(), ftWideString);
    EXPECT_EQ(copy.at(2).value().toDecimalText(), QStringLiteral("-12.50"));
    EXPECT_EQ(copy.at(2).dataType(), ftFMTBcd);

    DbParamList shorter = DbParamList::fromStatement(QStringLiteral(":a"));
    EXPECT_THROW(shorter.assignValues(tmpl), Exception);
    EXPECT_THROW(tmpl.at(3), Exception);
    EXPECT_THROW(tmpl.at(0).setAsDecimalText(QStringLiteral("12,5")), Exception);
    EXPECT_EQ(tmpl.at(0).value().toInt64(), 7); // a rejected value leaves the old one
}

TEST(DbParamList, ArraySizeGivesEveryParameterItsRows)
{
    DbParamList list = DbParamList::fromStatement(QStringLiteral("values (:a, :b)"));
    list.setArraySize(3);
    list.at(0).setValueAt(2, DbValue::integer(5));
    EXPECT_EQ(list.at(1).valueCount(), 3);
    EXPECT_TRUE(list.at(0).valueAt(1).isNull());
    EXPECT_EQ(list.at(0).valueAt(2).toInt64(), 5);
    EXPECT_THROW(list.setArraySize(0), Exception);
}

TEST(DbParam, LargeObjectsDecodeByKind)
{
    DbParam p(QStringLiteral("x"));
    const QString text = QStringLiteral("中文 text");
    p.loadLargeObject(QByteArray(reinterpret_cast<const char*>(text.utf16()), text.size() * 2), ftWideMemo);
    EXPECT_EQ(p.value().toString(), text);
    EXPECT_TRUE(p.isLargeObject());
    p.loadLargeObject(text.toUtf8(), ftOraClob);
    EXPECT_EQ(p.value().toString(), text);
    p.loadLargeObject(QByteArray("\x00\x01\xff", 3), ftBlob);
    EXPECT_EQ(p.value().kind(), DbValue::Kind::Bytes);
    EXPECT_EQ(p.value().toBytes().size(), 3);
}
