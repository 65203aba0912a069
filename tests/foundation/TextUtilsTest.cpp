#include "foundation/Exception.h"
#include "foundation/TextFormat.h"
#include "foundation/TextUtils.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(TextUtils, IsIntegerTextFollowsThe32BitConversion)
{
    const struct {
        QString text;
        bool integer;
    } cases[] = {
        {"0", true}, {"  12", true}, {"\t7", true}, {"-5", true}, {"+5", true},
        {"$1F", true}, {"x1f", true}, {"X1F", true}, {"0x1F", true}, {"0X1f", true}, {"-$10", true},
        {"2147483647", true}, {"-2147483648", true}, {"2147483648", false}, {"-2147483649", false},
        {"$FFFFFFFF", true}, {"$100000000", false},
        {"", false}, {" ", false}, {"12 ", false}, {"1.5", false}, {"1e3", false}, {"$", false},
        {"0x", false}, {"-", false}, {"abc", false}, {"$G", false}, {"1F", false}, {"+-1", false},
        {QString::fromUtf8("١٢"), false}, // digits of another script
        {QString::fromUtf8("１２"), false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        EXPECT_EQ(isIntegerText(c.text), c.integer);
    }
    qint64 v = 0;
    ASSERT_TRUE(parseIntegerText(QStringLiteral(" -0x10"), &v));
    EXPECT_EQ(v, -16);
    ASSERT_TRUE(parseIntegerText(QStringLiteral("9999999999"), &v));
    EXPECT_EQ(v, 9999999999LL);
}

TEST(TextUtils, ZeroPadNumber)
{
    const struct {
        qint64 number;
        int width;
        const char* text;
    } cases[] = {
        {7, 3, "007"}, {12345, 3, "123"}, {42, 2, "42"}, {-5, 3, "0-5"}, {-5, 2, "-5"}, {0, 1, "0"},
        {5, 0, ""}, {5, -1, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(zeroPadNumber(c.number, c.width), QString::fromLatin1(c.text));
    }
}

TEST(TextUtils, UrlEncodeText)
{
    EXPECT_EQ(urlEncodeText(QStringLiteral("a b*.Z9-_/~")), QStringLiteral("a+b*.Z9%2D%5F%2F%7E"));
    // Only the low 8 bits of a character are encoded.
    EXPECT_EQ(urlEncodeText(QString::fromUtf8("é中")), QStringLiteral("%E9%2D"));
    EXPECT_EQ(urlEncodeText(QString()), QString());
}

TEST(TextUtils, SplittingAtASeparator)
{
    QString before = QStringLiteral("unchanged"), after = QStringLiteral("unchanged");
    EXPECT_FALSE(splitAtFirst(QStringLiteral("aXb"), QStringLiteral("x"), &before, &after)); // case-sensitive
    EXPECT_EQ(before, QStringLiteral("unchanged"));
    EXPECT_EQ(after, QStringLiteral("unchanged"));
    EXPECT_TRUE(splitAtFirst(QStringLiteral("a::b::c"), QStringLiteral("::"), &before, &after));
    EXPECT_EQ(before, QStringLiteral("a"));
    EXPECT_EQ(after, QStringLiteral("b::c"));

    EXPECT_EQ(textBefore(QStringLiteral("="), QStringLiteral("a=b=c")), QStringLiteral("a"));
    EXPECT_EQ(textAfter(QStringLiteral("="), QStringLiteral("a=b=c")), QStringLiteral("b=c"));
    EXPECT_EQ(textBefore(QStringLiteral("="), QStringLiteral("abc")), QString());
    EXPECT_EQ(textAfter(QStringLiteral("="), QStringLiteral("abc")), QString());
    EXPECT_EQ(nameValueText(QStringLiteral("a"), QStringLiteral("b=c")), QStringLiteral("a=b=c"));
}

TEST(TextUtils, AffixesBlanksAndBreaks)
{
    EXPECT_TRUE(startsWithText(QStringLiteral("Config/SQL/x"), QString()));
    EXPECT_TRUE(startsWithText(QStringLiteral("Config/SQL/x"), QStringLiteral("Config/SQL/")));
    EXPECT_FALSE(startsWithText(QStringLiteral("config/sql/x"), QStringLiteral("Config/SQL/")));
    EXPECT_FALSE(endsWithText(QStringLiteral("ab"), QStringLiteral("xab")));
    EXPECT_FALSE(endsWithText(QStringLiteral("a.LOG"), QStringLiteral(".log")));
    EXPECT_EQ(stripPrefix(QStringLiteral("SQL@t"), QStringLiteral("SQL@")), QStringLiteral("t"));
    EXPECT_EQ(stripPrefix(QStringLiteral("sql@t"), QStringLiteral("SQL@")), QStringLiteral("sql@t"));
    EXPECT_EQ(stripSuffix(QStringLiteral("a.log"), QStringLiteral(".log")), QStringLiteral("a"));
    EXPECT_EQ(stripSuffix(QStringLiteral("a.txt"), QStringLiteral(".log")), QStringLiteral("a.txt"));

    EXPECT_TRUE(isBlankText(QString()));
    EXPECT_TRUE(isBlankText(QStringLiteral(" \t\r\n\x01")));
    EXPECT_FALSE(isBlankText(QStringLiteral(" a ")));
    EXPECT_EQ(trimText(QStringLiteral("\t a b \r\n")), QStringLiteral("a b"));
    EXPECT_EQ(removeLineBreaks(QStringLiteral("a\tb\r\nc d")), QStringLiteral("abc d"));
}

TEST(TextUtils, LineListHelpers)
{
    const TStringList source(QStringList{"a=1", "b", "=x", "c=2=3"});
    EXPECT_EQ(lineNames(source).lines(), QStringList({"a", "", "c"}));
    TStringList target(QStringList{"t"});
    reverseNameValueLines(source, target);
    EXPECT_EQ(target.lines(), QStringList({"t", "1=a", "x=", "2=3=c"}));
}

TEST(TextUtils, FileExistsNonBlank)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString file = dir.filePath(QStringLiteral("f.txt"));
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.close();
    EXPECT_TRUE(fileExistsNonBlank(file));
    EXPECT_FALSE(fileExistsNonBlank(dir.filePath(QStringLiteral("missing"))));
    EXPECT_FALSE(fileExistsNonBlank(QStringLiteral("  ")));
    EXPECT_FALSE(fileExistsNonBlank(dir.path())); // a folder is not a file
}

TEST(TextFormat, PlaceholdersWidthsAndPrecisions)
{
    const struct {
        const char* format;
        QVariantList args;
        const char* text;
    } cases[] = {
        {"%s=%d", {QStringLiteral("a"), 5}, "a=5"},
        {"[%5s][%-5s]", {QStringLiteral("ab"), QStringLiteral("cd")}, "[   ab][cd   ]"},
        {"%.2s", {QStringLiteral("abcd")}, "ab"},
        {"%3d|%.3d", {5, 5}, "  5|005"},
        {"%x %x", {255, -1}, "FF FFFFFFFF"},
        {"%u", {-1}, "4294967295"},
        {"100%% %d", {-7}, "100% -7"},
        {"%s", {QStringLiteral("%d")}, "%d"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.format);
        EXPECT_EQ(formatText(QString::fromLatin1(c.format), c.args), QString::fromLatin1(c.text));
    }
    EXPECT_THROW(formatText(QStringLiteral("%d"), {QStringLiteral("x")}), Exception);
    EXPECT_THROW(formatText(QStringLiteral("%s"), {5}), Exception);
    EXPECT_THROW(formatText(QStringLiteral("%s %s"), {QStringLiteral("x")}), Exception);
    EXPECT_THROW(formatText(QStringLiteral("50%"), {}), Exception);
    EXPECT_THROW(formatText(QStringLiteral("%q"), {5}), Exception);
}
