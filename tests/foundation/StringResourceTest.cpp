// The resource manager: registration by component name, duplicates,
// handlers, lookups with escapes, the filter text, the hooks.

#include "foundation/Errors.h"
#include "foundation/Exception.h"
#include "foundation/KwStringsComponent.h"
#include "foundation/KwTextForm.h"
#include "foundation/ModalSeam.h"
#include "foundation/StringResource.h"

#include <gtest/gtest.h>

#include <QObject>

namespace {

class TScriptedSeam : public IModalSeam {
public:
    QStringList messages;
    QStringList captions;
    bool answer = true;

    void showMessage(const QString& text, const QString& caption) override
    {
        messages.append(text);
        captions.append(caption);
    }
    bool askYesNo(const QString& question, const QString& caption) override
    {
        messages.append(question);
        captions.append(caption);
        return answer;
    }
    QString openFileName(const QString&, const QString&, const QString&, const QString&) override { return {}; }
    QString saveFileName(const QString&, const QString&, const QString&, const QString&) override { return {}; }
    QString folderName(const QString&, const QString&) override { return {}; }
    int execDialog(QObject*) override { return 0; }
};

class StringResourceTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        createStringResourceManager();
        setModalSeam(&seam);
    }
    void TearDown() override
    {
        setModalSeam(nullptr);
        destroyStringResourceManager();
        setErrorTypeNameHook(nullptr);
        setErrorDialogHook(nullptr);
        setNumberedErrorTextHook(nullptr);
    }
    TKwStringsComponent* table(const QString& name, const QString& text)
    {
        auto* t = new TKwStringsComponent(&owner, name);
        kwTableFromText(*t, text);
        return t;
    }

    TScriptedSeam seam;
    QObject owner;
};

TEST_F(StringResourceTest, RegistersOnlyComponentNamesThatSplitIntoModuleAndKnownLanguage)
{
    table(QStringLiteral("X_EN"), QStringLiteral("[s]\nk=x\n"));
    table(QStringLiteral("AB_EN"), QStringLiteral("[s]\nk=ab\n"));
    table(QStringLiteral("ABC"), QStringLiteral("[s]\nk=abc\n"));
    table(QStringLiteral("A-EN"), QStringLiteral("[s]\nk=a\n"));
    table(QStringLiteral("Y_FR"), QStringLiteral("[s]\nk=fr\n"));
    new QObject(&owner); // not a table: skipped
    registerResourceDataModule(&owner);

    TStringResourceManager& m = stringResourceManager();
    EXPECT_EQ(m.moduleCount(), 2);
    ASSERT_NE(m.findModule(QStringLiteral("x.en")), nullptr);
    EXPECT_EQ(m.findModule(QStringLiteral("X.EN"))->objectName(), QStringLiteral("X_EN"));
    EXPECT_NE(m.findModule(QStringLiteral("AB.EN")), nullptr);
    EXPECT_EQ(m.findModule(QStringLiteral("A-.EN")), nullptr);
    EXPECT_TRUE(seam.messages.isEmpty());

    QString module, language;
    EXPECT_TRUE(splitResourceName(QStringLiteral("MainDataResource_CN"), &module, &language));
    EXPECT_EQ(module, QStringLiteral("MainDataResource"));
    EXPECT_EQ(language, QStringLiteral("CN"));
    EXPECT_FALSE(splitResourceName(QStringLiteral("_EN"), &module, &language));

    // Lookups go to module.current-language: nothing for CN, the table for EN.
    EXPECT_EQ(resourceText(QStringLiteral("X"), QStringLiteral("s"), QStringLiteral("k")), QString());
    m.setLanguage(QStringLiteral("EN"));
    EXPECT_EQ(resourceText(QStringLiteral("x"), QStringLiteral("S"), QStringLiteral("K")), QStringLiteral("x"));
}

TEST_F(StringResourceTest, DuplicateRegistrationShowsTheMessageOnceAndKeepsTheFirst)
{
    TKwStringsComponent* first = table(QStringLiteral("a"), QStringLiteral("[s]\nk=first\n"));
    TKwStringsComponent* second = table(QStringLiteral("b"), QStringLiteral("[s]\nk=second\n"));
    TStringResourceManager& m = stringResourceManager();
    m.registerModule(QStringLiteral("MainDataResource"), first, QStringLiteral("CN"));
    m.registerModule(QStringLiteral("mainDataResource"), second, QStringLiteral("cn"));
    ASSERT_EQ(seam.messages.size(), 1);
    EXPECT_EQ(seam.messages.first(), QStringLiteral("ResourceModule Name duplication name=\"mainDataResource\""));
    EXPECT_EQ(m.moduleCount(), 1);
    EXPECT_EQ(m.findModule(QStringLiteral("MainDataResource.CN")), first);

    // Missing table, empty module or language: silently nothing.
    m.registerModule(QStringLiteral("M"), nullptr, QStringLiteral("CN"));
    m.registerModule(QString(), second, QStringLiteral("CN"));
    m.registerModule(QStringLiteral("M"), second, QString());
    EXPECT_EQ(m.moduleCount(), 1);
    EXPECT_EQ(seam.messages.size(), 1);
}

TEST_F(StringResourceTest, DestroyedTableGivesNoneInsteadOfDanglingPointer)
{
    TKwStringsComponent* t = table(QStringLiteral("M_CN"), QStringLiteral("[s]\nk=v\n"));
    registerResourceDataModule(&owner);
    EXPECT_EQ(resourceText(QStringLiteral("M"), QStringLiteral("s"), QStringLiteral("k")), QStringLiteral("v"));
    delete t;
    EXPECT_EQ(resourceSection(QStringLiteral("M"), QStringLiteral("s")), nullptr);
    EXPECT_EQ(resourceText(QStringLiteral("M"), QStringLiteral("s"), QStringLiteral("k")), QString());
}

// Handlers record their calls here.
QStringList g_calls;
void handlerA(QObject* o) { g_calls.append(QStringLiteral("A:") + o->objectName()); }
void handlerB(QObject* o) { g_calls.append(QStringLiteral("B:") + o->objectName()); }
QObject* g_other = nullptr;
void removesOther(QObject* o)
{
    g_calls.append(QStringLiteral("R:") + o->objectName());
    stringResourceManager().removeLanguageHandler(handlerA, g_other);
    stringResourceManager().removeLanguageHandler(removesOther, o);
}

TEST_F(StringResourceTest, LanguageHandlersRunInOrderOnlyOnARealChange)
{
    g_calls.clear();
    QObject f1, f2;
    f1.setObjectName(QStringLiteral("f1"));
    f2.setObjectName(QStringLiteral("f2"));
    TStringResourceManager& m = stringResourceManager();
    EXPECT_EQ(m.currentLanguage(), QStringLiteral("CN"));
    m.addLanguageHandler(handlerA, &f1);
    m.addLanguageHandler(handlerB, &f1);
    m.addLanguageHandler(handlerA, &f2);
    m.addLanguageHandler(nullptr, &f2); // ignored
    EXPECT_EQ(m.handlerCount(), 3);

    m.setLanguage(QStringLiteral("cn"));
    EXPECT_TRUE(g_calls.isEmpty());
    m.setLanguage(QStringLiteral("EN"));
    EXPECT_EQ(g_calls, QStringList({"A:f1", "B:f1", "A:f2"}));
    EXPECT_EQ(m.currentLanguage(), QStringLiteral("EN"));

    // Two frames of one class removed in reverse order leave only B.
    m.removeLanguageHandler(handlerA, &f2);
    m.removeLanguageHandler(handlerA, &f1);
    m.removeLanguageHandler(handlerA, &f1); // no longer there: nothing
    EXPECT_EQ(m.handlerCount(), 1);
    m.removeLanguageHandler(handlerB, &f1);
    EXPECT_EQ(m.handlerCount(), 0);
}

TEST_F(StringResourceTest, HandlerRemovingHandlersDuringALanguageChangeIsSafe)
{
    g_calls.clear();
    QObject f1, f2;
    f1.setObjectName(QStringLiteral("f1"));
    f2.setObjectName(QStringLiteral("f2"));
    g_other = &f2;
    TStringResourceManager& m = stringResourceManager();
    m.addLanguageHandler(removesOther, &f1);
    m.addLanguageHandler(handlerA, &f2);
    m.addLanguageHandler(handlerB, &f2);
    m.setLanguage(QStringLiteral("EN"));
    // The removed handler of f2 is not called any more; the rest still are.
    EXPECT_EQ(g_calls, QStringList({"R:f1", "B:f2"}));
    EXPECT_EQ(m.handlerCount(), 1);
}

TEST_F(StringResourceTest, KeyLookupsReplaceEscapesSectionTextKeepsThem)
{
    TKwStringsComponent* t = table(QStringLiteral("M_CN"),
                                  QStringLiteral("[s]\nk=one\\r\\ntwo\\r\\n\ne=\n[lines]\na\nb\n"));
    registerResourceDataModule(&owner);
    Q_UNUSED(t);
    EXPECT_EQ(resourceText(QStringLiteral("M"), QStringLiteral("s"), QStringLiteral("k")),
              QStringLiteral("one\r\ntwo\r\n"));
    EXPECT_EQ(resourceSectionText(QStringLiteral("M"), QStringLiteral("s")),
              QStringLiteral("k=one\\r\\ntwo\\r\\n\r\ne=\r\n"));
    EXPECT_EQ(resourceSectionText(QStringLiteral("M"), QStringLiteral("lines")), QStringLiteral("a\r\nb\r\n"));
    ASSERT_NE(resourceSection(QStringLiteral("M"), QStringLiteral("LINES")), nullptr);
    EXPECT_EQ(resourceSection(QStringLiteral("M"), QStringLiteral("LINES"))->count(), 2);
    // Missing module, section or key: the empty text.
    EXPECT_EQ(resourceText(QStringLiteral("N"), QStringLiteral("s"), QStringLiteral("k")), QString());
    EXPECT_EQ(resourceText(QStringLiteral("M"), QStringLiteral("t"), QStringLiteral("k")), QString());
    EXPECT_EQ(resourceText(QStringLiteral("M"), QStringLiteral("s"), QStringLiteral("x")), QString());
    EXPECT_EQ(resourceSectionText(QStringLiteral("M"), QStringLiteral("t")), QString());
    EXPECT_EQ(replaceEscapes(QStringLiteral("a\\rb\\nc\\r\\n")), QStringLiteral("a\\rb\\nc\r\n"));
}

TEST_F(StringResourceTest, NumberedLookupsFilterAndQuestionUseMainDataResource)
{
    table(QStringLiteral("MainDataResource_EN"),
          QStringLiteral("[string resource]\n100=Warning\n5000=Table \"%s\" is duplication\n"
                         "[errorstate]\n0=\n1=Reexecuted\n"
                         "[fileext]\nerrinfo=Error info file(%s)\nconfig=Configuration file(*%s)\n"
                         "all=All file(*.*)\n"));
    registerResourceDataModule(&owner);
    stringResourceManager().setLanguage(QStringLiteral("EN"));

    EXPECT_EQ(stringResourceText(100), QStringLiteral("Warning"));
    EXPECT_EQ(formatStringResource(5000, {QStringLiteral("T1")}), QStringLiteral("Table \"T1\" is duplication"));
    EXPECT_THROW(formatStringResource(5000, {42}), Exception);
    EXPECT_EQ(errorStateName(0), QString());
    EXPECT_EQ(errorStateName(1), QStringLiteral("Reexecuted"));

    EXPECT_EQ(fileDialogFilter(QStringLiteral("errinfo"), QStringLiteral("error.errinfo")),
              QStringLiteral("Error info file(error.errinfo)|error.errinfo|All file(*.*)|*.*"));
    EXPECT_EQ(fileDialogFilter(QStringLiteral("config"), QStringLiteral(".Tvcfg")),
              QStringLiteral("Configuration file(*.Tvcfg)|*.Tvcfg|All file(*.*)|*.*"));

    seam.answer = true;
    EXPECT_TRUE(askYesNo(QStringLiteral("Go on?")));
    seam.answer = false;
    EXPECT_FALSE(askYesNo(QStringLiteral("Really?")));
    EXPECT_EQ(seam.captions, QStringList({"Warning", "Warning"}));
    EXPECT_EQ(seam.messages, QStringList({"Go on?", "Really?"}));

    // Back in Chinese nothing is registered: no filter, no texts.
    stringResourceManager().setLanguage(QStringLiteral("CN"));
    EXPECT_EQ(fileDialogFilter(QStringLiteral("errinfo"), QStringLiteral("error.errinfo")), QString());
    EXPECT_EQ(stringResourceText(100), QString());
}

bool g_dialogAnswer = false;
QString g_dialogSeen;
bool scriptedDialog(const QString& message, const QString& detail)
{
    g_dialogSeen = message + u'|' + detail;
    return g_dialogAnswer;
}

TEST_F(StringResourceTest, HooksHaveFallbacksUntilRegistered)
{
    table(QStringLiteral("MainDataResource_CN"),
          QStringLiteral("[ErrorDataType]\n1=Insert record error\n"
                         "[common error]\n3000=Copy table structure fial,source table is \"%s\"\n"));
    registerResourceDataModule(&owner);

    EXPECT_EQ(errorTypeName(1), QString());
    EXPECT_FALSE(showErrorDialog(QStringLiteral("m"), QStringLiteral("d")));
    try {
        raiseCommonError(3000, 2, {QStringLiteral("T")});
        FAIL();
    } catch (const Exception& e) {
        EXPECT_EQ(e.message(), QStringLiteral("Common error,errorcode=3000 position=2"));
    }

    registerMessageHooks();
    setErrorDialogHook(scriptedDialog);
    EXPECT_EQ(errorTypeName(1), QStringLiteral("Insert record error"));
    EXPECT_EQ(errorTypeName(99), QString());
    try {
        raiseCommonError(3000, 2, {QStringLiteral("T")});
        FAIL();
    } catch (const Exception& e) {
        EXPECT_EQ(e.message(), QStringLiteral("Copy table structure fial,source table is \"T\""));
    }
    // A code the catalogue lacks falls back to the numbered text.
    EXPECT_THROW(raiseCommonError(4242, 1), Exception);
    g_dialogAnswer = true;
    EXPECT_TRUE(showErrorDialog(QStringLiteral("m"), QStringLiteral("d")));
    EXPECT_EQ(g_dialogSeen, QStringLiteral("m|d"));
}

} // namespace
