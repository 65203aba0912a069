#include "foundation/Exception.h"
#include "foundation/KwStringsComponent.h"

#include <QBuffer>
#include <gtest/gtest.h>

namespace {

QByteArray streamOf(const TKwStringsComponent& table)
{
    QBuffer b;
    b.open(QIODevice::ReadWrite);
    table.saveToStream(b);
    return b.data();
}

QStringList sectionNames(const TKwStringsComponent& table)
{
    QStringList out;
    for (qsizetype i = 0; i < table.sectionCount(); ++i)
        out << table.sectionName(i);
    return out;
}

} // namespace

TEST(KwStrings, SectionTextSplitsAtEveryBreakAndEndsInCrLf)
{
    TKwStringsComponent t;
    EXPECT_EQ(t.addSection(QStringLiteral("A"), QStringLiteral("a=1"))->text(), QStringLiteral("a=1\r\n"));
    TKwStringList* mixed = t.addSection(QStringLiteral("B"), QStringLiteral("x\r\ny\rz\n\n"));
    EXPECT_EQ(mixed->lines.lines(), QStringList({"x", "y", "z", ""}));
    EXPECT_EQ(mixed->text(), QStringLiteral("x\r\ny\r\nz\r\n\r\n"));
    TKwStringList* empty = t.addSection(QStringLiteral("C"), QString());
    EXPECT_EQ(empty->lines.count(), 0);
    EXPECT_EQ(empty->text(), QString());
}

TEST(KwStrings, LookupTakesTheFirstMatchIgnoringCase)
{
    TKwStringsComponent t;
    t.addSection(QStringLiteral("Config"), QStringLiteral("a=1"));
    t.addSection(QStringLiteral("CONFIG"), QStringLiteral("a=2"));
    EXPECT_EQ(t.sectionCount(), 2);
    EXPECT_EQ(t.indexOfSection(QStringLiteral("config")), 0);
    EXPECT_EQ(t.findSectionLines(QStringLiteral("cOnFiG"))->value(QStringLiteral("a")), QStringLiteral("1"));
    EXPECT_EQ(t.indexOfSection(QStringLiteral("Config/")), -1);
    EXPECT_EQ(t.findSection(QStringLiteral("missing")), nullptr);

    t.deleteSection(0);
    EXPECT_EQ(t.findSectionLines(QStringLiteral("config"))->value(QStringLiteral("a")), QStringLiteral("2"));
    t.renameSection(0, QStringLiteral("Other"));
    EXPECT_EQ(t.indexOfSection(QStringLiteral("config")), -1);
    EXPECT_THROW(t.sectionAt(1), Exception);
    EXPECT_THROW(t.deleteSection(-1), Exception);
}

TEST(KwStrings, SectionLinesCreatesWhatFindSectionLinesDoesNot)
{
    TKwStringsComponent t;
    t.addSection(QStringLiteral("A"), QString());
    EXPECT_EQ(t.findSectionLines(QStringLiteral("B")), nullptr);
    EXPECT_EQ(t.sectionCount(), 1);
    TStringList& b = t.sectionLines(QStringLiteral("B"));
    EXPECT_TRUE(b.isEmpty());
    EXPECT_EQ(sectionNames(t), QStringList({"A", "B"}));
    b.setValue(QStringLiteral("k"), QStringLiteral("v"));
    EXPECT_EQ(&t.sectionLines(QStringLiteral("b")), &b);
    EXPECT_EQ(t.sectionCount(), 2);
}

TEST(KwStrings, NameValueRules)
{
    TStringList l(QStringList{QStringLiteral("k"), QStringLiteral("k=a=b"), QStringLiteral(" s=1"),
                              QStringLiteral("K=second")});
    EXPECT_EQ(l.value(QStringLiteral("k")), QStringLiteral("a=b"));
    EXPECT_EQ(l.value(QStringLiteral("K")), QStringLiteral("a=b"));
    EXPECT_EQ(l.indexOfName(QStringLiteral("k")), 1); // the line without '=' has no name
    EXPECT_EQ(l.value(QStringLiteral("s")), QString()); // nothing is trimmed
    EXPECT_EQ(l.value(QStringLiteral(" s")), QStringLiteral("1"));

    l.setValue(QStringLiteral("K"), QStringLiteral("z"));
    EXPECT_EQ(l.at(1), QStringLiteral("K=z"));
    EXPECT_EQ(l.at(3), QStringLiteral("K=second"));

    l.setValue(QStringLiteral("k"), QString());
    EXPECT_EQ(l.lines(), QStringList({"k", " s=1", "K=second"}));
    EXPECT_EQ(l.value(QStringLiteral("k")), QStringLiteral("second"));
    l.setValue(QStringLiteral("k"), QString());
    EXPECT_EQ(l.value(QStringLiteral("k")), QString());
    l.setValue(QStringLiteral("missing"), QString()); // nothing to delete
    l.setValue(QStringLiteral("new"), QStringLiteral("v"));
    EXPECT_EQ(l.lines(), QStringList({"k", " s=1", "new=v"}));
}

TEST(KwStrings, StreamFormBytes)
{
    TKwStringsComponent empty;
    EXPECT_EQ(streamOf(empty).toHex(), "0100");

    TKwStringsComponent one;
    one.addSection(QStringLiteral("A"), QStringLiteral("k=v"));
    EXPECT_EQ(streamOf(one).toHex(), "010601410605" "6b3d760d0a" "00");

    TKwStringsComponent unnamed;
    unnamed.addSection(QString(), QString());
    EXPECT_EQ(streamOf(unnamed).toHex(), "01" "1200000000" "1200000000" "00");
}

TEST(KwStrings, StreamRoundTripKeepsOrderAndDuplicates)
{
    TKwStringsComponent t;
    t.addSection(QStringLiteral("Config"), QStringLiteral("a=1\r\nb=2"));
    t.addSection(QStringLiteral("config"), QString::fromUtf8("名=值\r\n\r\n"));
    t.addSection(QString(), QString());

    QBuffer b;
    b.open(QIODevice::ReadWrite);
    b.write("XY"); // the form is written and read at the current position
    t.saveToStream(b);
    b.write("tail");
    b.seek(2);

    TKwStringsComponent back;
    back.addSection(QStringLiteral("stale"), QStringLiteral("x"));
    back.loadFromStream(b);
    EXPECT_EQ(b.read(4), QByteArray("tail")); // the reader stops right after the list end
    ASSERT_EQ(sectionNames(back), QStringList({"Config", "config", ""}));
    for (qsizetype i = 0; i < t.sectionCount(); ++i)
        EXPECT_EQ(back.sectionAt(i)->text(), t.sectionAt(i)->text());
}

TEST(KwStrings, DamagedStreamKeepsTheSectionsReadBeforeTheFailure)
{
    QBuffer b;
    b.setData(QByteArray::fromHex("01 0601 41 0601 78 0601 42"));
    b.open(QIODevice::ReadOnly);
    TKwStringsComponent t;
    try {
        t.loadFromStream(b);
        ADD_FAILURE() << "a truncated stream must fail";
    } catch (const Exception& e) {
        EXPECT_EQ(e.message(), QStringLiteral("Stream read error"));
    }
    EXPECT_EQ(sectionNames(t), QStringList({"A"}));

    QBuffer notAList;
    notAList.setData(QByteArray::fromHex("0205"));
    notAList.open(QIODevice::ReadOnly);
    EXPECT_THROW(t.loadFromStream(notAList), Exception);
    EXPECT_EQ(t.sectionCount(), 0);
}

TEST(KwStrings, SectionTextOrDefault)
{
    TKwStringsComponent t;
    t.addSection(QStringLiteral("Filled"), QStringLiteral("select 1"));
    t.addSection(QStringLiteral("Blank"), QStringLiteral(" \t\r\n  "));
    t.addSection(QStringLiteral("Default"), QStringLiteral("general"));
    TKwStringsComponent noDefault;

    const struct {
        const TKwStringsComponent* table;
        const char* name;
        QString text;
        bool usedDefault;
    } cases[] = {
        {&t, "filled", QStringLiteral("select 1\r\n"), false},
        {&t, "Blank", QStringLiteral("general\r\n"), true},
        {&t, "Missing", QStringLiteral("general\r\n"), true},
        {&noDefault, "Missing", QString(), true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        bool usedDefault = !c.usedDefault;
        EXPECT_EQ(sectionTextOrDefault(*c.table, QString::fromLatin1(c.name), &usedDefault), c.text);
        EXPECT_EQ(usedDefault, c.usedDefault);
    }
}
