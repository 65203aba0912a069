#include "foundation/AES.h"
#include "foundation/Errors.h"
#include "foundation/LogUtils.h"
#include "foundation/StringResource.h"
#include "shell/ConvertManager.h"
#include "shell/Startup.h"

#include <gtest/gtest.h>

TEST(Startup, CreatesTheProcessWideObjectsAndShutsThemDown)
{
    startUp();
    ASSERT_TRUE(isStartedUp());
    EXPECT_EQ(configKey(), deriveKey(QString::fromLatin1(kConfigPassphrase)));
    EXPECT_TRUE(hasConvertManager());
    EXPECT_TRUE(convertManager().convertNames().isEmpty());
    EXPECT_EQ(stringResourceManager().currentLanguage(), QStringLiteral("CN"));
    EXPECT_NE(numberedErrorTextHook(), nullptr);
    EXPECT_NE(errorTypeNameHook(), nullptr);
    appLog().logInfo(QStringLiteral("up"));
    ASSERT_NE(resourceDataModule(QStringLiteral("CN")), nullptr);
    ASSERT_NE(resourceDataModule(QStringLiteral("en")), nullptr);
    EXPECT_EQ(resourceDataModule(QStringLiteral("DE")), nullptr);

    // The hooks reach the tables once a language is selected.
    selectLanguage(QStringLiteral("EN"));
    EXPECT_EQ(stringResourceManager().currentLanguage(), QStringLiteral("EN"));
    EXPECT_EQ(resourceText(QStringLiteral("MainDataResource"), QStringLiteral("global"),
                           QStringLiteral("Error_PathError")),
              QStringLiteral("Invalid path \"%s\""));
    try {
        raiseCommonError(4000, 1, {QStringLiteral("error/error.errinfo")});
        FAIL() << "no exception";
    } catch (const Exception& e) {
        EXPECT_TRUE(e.message().startsWith(QStringLiteral("File not found ,the file name: "))) << e.what();
    }

    shutDown();
    EXPECT_FALSE(isStartedUp());
    EXPECT_FALSE(hasConvertManager());
    EXPECT_EQ(numberedErrorTextHook(), nullptr);
    EXPECT_EQ(resourceDataModule(QStringLiteral("CN")), nullptr);

    // A second start-up after shutdown works again.
    startUp();
    EXPECT_TRUE(hasConvertManager());
    shutDown();
}
