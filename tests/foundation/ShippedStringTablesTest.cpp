// The shipped string tables: both languages load, have the same sections and
// keys, and hold the exact English texts the program relies on.

#include "foundation/Errors.h"
#include "foundation/KwStringsComponent.h"
#include "foundation/ModalSeam.h"
#include "foundation/ResourceCNDataModule.h"
#include "foundation/ResourceENDataModule.h"
#include "foundation/ResourceTables.h"
#include "foundation/StringResource.h"

#include <gtest/gtest.h>

#include <QFileInfo>
#include <QRegularExpression>

namespace {

// Per section: its name and the name of each of its lines (empty for plain lines).
using Shape = std::vector<std::pair<QString, QStringList>>;

Shape shapeOf(const TKwStringsComponent& table)
{
    Shape shape;
    for (qsizetype i = 0; i < table.sectionCount(); ++i) {
        const TKwStringList* s = table.sectionAt(i);
        QStringList names;
        for (const QString& line : s->lines.lines())
            names.append(TStringList::nameOf(line));
        shape.emplace_back(s->name, names);
    }
    return shape;
}

QStringList tableNames(const QObject& module)
{
    QStringList names;
    for (const QObject* child : module.children())
        if (qobject_cast<const TKwStringsComponent*>(child))
            names.append(child->objectName());
    return names;
}

QStringList placeholders(const QString& text)
{
    QStringList out;
    static const QRegularExpression re(QStringLiteral("%-?\\d*(\\.\\d+)?[sdux%]"));
    for (auto it = re.globalMatch(text); it.hasNext();)
        out.append(it.next().captured(0));
    return out;
}

TEST(ShippedStringTablesTest, BothLanguagesHaveTheSameTablesSectionsKeysAndPlaceholders)
{
    TDataModule_ResourceCN cn;
    TDataModule_ResourceEN en;
    EXPECT_EQ(cn.objectName(), QStringLiteral("DataModule_ResourceCN"));
    EXPECT_EQ(en.objectName(), QStringLiteral("DataModule_ResourceEN"));

    const QStringList cnFiles = embeddedResourceFiles(QStringLiteral("CN"));
    ASSERT_FALSE(cnFiles.isEmpty());
    EXPECT_EQ(cnFiles.size(), embeddedResourceFiles(QStringLiteral("EN")).size());
    EXPECT_TRUE(cnFiles.contains(QStringLiteral(":/data/resources/MainDataResource_CN.txt")));
    ASSERT_EQ(tableNames(cn).size(), cnFiles.size());

    for (const QString& cnName : tableNames(cn)) {
        SCOPED_TRACE(cnName.toStdString());
        ASSERT_TRUE(cnName.endsWith(QLatin1String("_CN")));
        const QString enName = cnName.left(cnName.size() - 3) + QStringLiteral("_EN");
        const auto* cnTable = cn.findChild<TKwStringsComponent*>(cnName, Qt::FindDirectChildrenOnly);
        const auto* enTable = en.findChild<TKwStringsComponent*>(enName, Qt::FindDirectChildrenOnly);
        ASSERT_NE(enTable, nullptr) << "no English table " << enName.toStdString();

        Shape cnShape = shapeOf(*cnTable);
        const Shape enShape = shapeOf(*enTable);
        // The one allowed difference: two more keys in the Chinese welcome section.
        for (auto& [section, names] : cnShape) {
            if (cnName == QLatin1String("MainDataResource_CN") && section == QLatin1String("Welecome")) {
                names.removeOne(QStringLiteral("Label_ConfigFile"));
                names.removeOne(QStringLiteral("Label_ImportFile"));
            }
        }
        ASSERT_EQ(cnShape.size(), enShape.size());
        for (size_t i = 0; i < enShape.size(); ++i) {
            EXPECT_EQ(cnShape[i].first, enShape[i].first);
            EXPECT_EQ(cnShape[i].second, enShape[i].second) << "section " << enShape[i].first.toStdString();
        }

        // A translation keeps the placeholders in the same order.
        for (qsizetype i = 0; i < enTable->sectionCount(); ++i) {
            const TStringList& enLines = enTable->sectionAt(i)->lines;
            const TStringList* cnLines = cnTable->findSectionLines(enTable->sectionAt(i)->name);
            ASSERT_NE(cnLines, nullptr);
            for (qsizetype j = 0; j < enLines.count() && j < cnLines->count(); ++j)
                EXPECT_EQ(placeholders(cnLines->at(j)), placeholders(enLines.at(j)))
                    << enTable->sectionAt(i)->name.toStdString() << ": " << enLines.at(j).toStdString();
        }
    }
    EXPECT_EQ(tableNames(en).size(), tableNames(cn).size());
}

class EnglishTablesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        createStringResourceManager();
        stringResourceManager().setLanguage(QStringLiteral("EN"));
        registerResourceDataModule(&en);
    }
    void TearDown() override { destroyStringResourceManager(); }
    TDataModule_ResourceEN en;
};

QString mainText(const char* section, const char* key)
{
    return resourceText(QStringLiteral("MainDataResource"), QString::fromUtf8(section), QString::fromUtf8(key));
}

TEST_F(EnglishTablesTest, ExactTextsAsTheProgramUsesThem)
{
    EXPECT_EQ(stringResourceText(100), QStringLiteral("Warning"));
    EXPECT_EQ(stringResourceText(1000), QStringLiteral("Reexecute fail!\r\n error message : %s"));
    EXPECT_EQ(stringResourceText(5005), QStringLiteral("Index created, source index name=\"%s\",dest index name=\"%s\""));
    EXPECT_EQ(stringResourceText(5006), QStringLiteral("Expanding the fields %s.%s  to  %s"));
    EXPECT_EQ(stringResourceText(10000), QStringLiteral(" The log file has been saved to \"%s\""));
    EXPECT_EQ(mainText("common error", "4000"), QStringLiteral("File not found ,the file name: \r\n \"%s\""));
    EXPECT_EQ(mainText("common error", "5000"), QStringLiteral("Table metadata not found,table name is \"%s"));
    EXPECT_EQ(mainText("common error", "1000"), QStringLiteral("Load Configuration fial"));
    EXPECT_EQ(mainText("global", "Error_PathError"), QStringLiteral("Invalid path \"%s\""));
    EXPECT_EQ(mainText("DataTypeName", "rttTimeStamp"), QStringLiteral("TimeStamp"));
    EXPECT_EQ(errorStateName(2), QStringLiteral("SQL has been executed"));
    EXPECT_EQ(errorStateName(0), QString());
    EXPECT_EQ(resourceSectionText(QStringLiteral("MainDataResource"), QStringLiteral("RadioGroup_Operation")),
              QStringLiteral("New/Modify configuration\r\nExecute Migration\r\nExecute Export\r\nExecute Import\r\n"));
    // The stored text keeps the four-character escape.
    EXPECT_TRUE(resourceSectionText(QStringLiteral("MainDataResource"), QStringLiteral("common error"))
                    .contains(QLatin1String("name: \\r\\n \"%s\"")));

    registerMessageHooks();
    EXPECT_EQ(errorTypeName(3), QStringLiteral("Read matadata error"));
    EXPECT_EQ(errorTypeName(10), QStringLiteral("Initializing  error"));
    EXPECT_EQ(fileDialogFilter(QStringLiteral("errinfo"), QStringLiteral("error.errinfo")),
              QStringLiteral("Error info file(error.errinfo)|error.errinfo|All file(*.*)|*.*"));
    EXPECT_EQ(fileDialogFilter(QStringLiteral("dump"), QStringLiteral(".Tvdump")),
              QStringLiteral("Data dump file(*.Tvdump)|*.Tvdump|All file(*.*)|*.*"));
    setErrorTypeNameHook(nullptr);
    setNumberedErrorTextHook(nullptr);
}

class CaptionSeam : public THeadlessModalSeam {
public:
    QString caption;
    bool askYesNo(const QString&, const QString& c) override
    {
        caption = c;
        return true;
    }
};

TEST_F(EnglishTablesTest, QuestionsCarryTheWarningCaption)
{
    CaptionSeam seam;
    setModalSeam(&seam);
    EXPECT_TRUE(askYesNo(QStringLiteral("Are you sure to exit the system?")));
    setModalSeam(nullptr);
    EXPECT_EQ(seam.caption, QStringLiteral("Warning"));
}

TEST(ChineseTablesTest, StartLanguageTablesAreRegisteredAndTranslated)
{
    createStringResourceManager();
    TDataModule_ResourceCN cn;
    registerResourceDataModule(&cn);
    EXPECT_EQ(stringResourceText(100), QStringLiteral("警告"));
    EXPECT_EQ(resourceText(QStringLiteral("MainDataResource"), QStringLiteral("string resource"),
                           QStringLiteral("7000")),
              QStringLiteral("文件名为空，或文件不存在，\r\n%s"));
    destroyStringResourceManager();
}

} // namespace
