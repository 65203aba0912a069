#include "foundation/Exception.h"
#include "foundation/KwTextForm.h"

#include <gtest/gtest.h>

namespace {

struct Section {
    QString name;
    QStringList lines;
    bool operator==(const Section&) const = default;
};

std::vector<Section> sectionsOf(const TKwStringsComponent& t)
{
    std::vector<Section> out;
    for (qsizetype i = 0; i < t.sectionCount(); ++i)
        out.push_back({t.sectionName(i), t.sectionAt(i)->lines.lines()});
    return out;
}

void PrintTo(const Section& s, std::ostream* os)
{
    *os << "[" << s.name.toStdString() << "] " << s.lines.join(u'|').toStdString();
}

} // namespace

TEST(KwTextForm, RoundTripEscapesBracketsAndBackslashes)
{
    TKwStringsComponent t;
    t.addSection(QStringLiteral("Config"),
                 QStringLiteral("k=v\r\n[notASection]\r\n\\\\server\\share\r\n\r\n]x\r\nlast"));
    t.addSection(QString(), QString());
    t.addSection(QString::fromUtf8("名 [x]"), QStringLiteral("\r\n\r\n"));
    t.addSection(QStringLiteral("Config"), QStringLiteral("dup=1"));

    const QString text = kwTableToText(t);
    EXPECT_EQ(text, QString::fromUtf8("[Config]\n"
                                      "k=v\n"
                                      "\\[notASection]\n"
                                      "\\\\\\server\\share\n"
                                      "\n"
                                      "]x\n"
                                      "last\n"
                                      "[]\n"
                                      "[名 [x]]\n"
                                      "\n"
                                      "\n"
                                      "[Config]\n"
                                      "dup=1\n"));

    TKwStringsComponent back;
    kwTableFromText(back, text);
    EXPECT_EQ(sectionsOf(back), sectionsOf(t));
}

TEST(KwTextForm, InputAcceptsCrLfBomAndAMissingFinalBreak)
{
    TKwStringsComponent t;
    kwTableFromText(t, QString::fromUtf8("\xEF\xBB\xBF[A]\r\nk=v\r\n\\\\x\r\n[B]\nlast"));
    const std::vector<Section> expected{{"A", {"k=v", "\\x"}}, {"B", {"last"}}};
    EXPECT_EQ(sectionsOf(t), expected);

    kwTableFromText(t, QString());
    EXPECT_EQ(t.sectionCount(), 0);
}

TEST(KwTextForm, MalformedTextFailsAndLeavesTheTableAlone)
{
    const char* cases[] = {
        "k=v\n[A]\n",        // a line before the first section
        "[A]\nx=1\n[B\n",    // a section line without its bracket
        "[A]\nx\ry\n",       // a carriage return inside a line
        "[\n",
    };
    for (const char* text : cases) {
        SCOPED_TRACE(text);
        TKwStringsComponent t;
        t.addSection(QStringLiteral("Kept"), QStringLiteral("a=1"));
        EXPECT_THROW(kwTableFromText(t, QString::fromUtf8(text)), Exception);
        EXPECT_EQ(sectionsOf(t), (std::vector<Section>{{"Kept", {"a=1"}}}));
    }
}

TEST(KwTextForm, OutputShowsTheLinesTheStoredFormGivesBack)
{
    TKwStringsComponent t;
    t.addSection(QStringLiteral("A"), QString())->lines.add(QStringLiteral("a=1\r\n[b]"));
    EXPECT_EQ(kwTableToText(t), QStringLiteral("[A]\na=1\n\\[b]\n"));

    TKwStringsComponent broken;
    broken.addSection(QStringLiteral("two\nlines"), QString());
    EXPECT_THROW(kwTableToText(broken), Exception);
}
