// The project's radio group, the filter conversion of the widget seam and
// its exec of the program's dialogs.

#include "WidgetTestApp.h"

#include "platform/windows/RadioGroup.h"
#include "platform/windows/WidgetModalSeam.h"

#include <gtest/gtest.h>

#include <QDialog>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

namespace {

TEST(RadioGroupTest, ItemIndexFollowsClicksAndSetterAndSurvivesItemChanges)
{
    ensureWidgetApp();
    TRadioGroup group;
    group.setObjectName(QStringLiteral("RadioGroup_Operation"));
    QSignalSpy changes(&group, &TRadioGroup::itemIndexChanged);
    EXPECT_EQ(group.itemIndex(), -1);
    group.setItems({QStringLiteral("New/Modify configuration"), QStringLiteral("Execute Migration"),
                    QStringLiteral("Execute Export")});
    EXPECT_EQ(group.itemCount(), 3);
    EXPECT_EQ(group.itemButton(1)->text(), QStringLiteral("Execute Migration"));
    EXPECT_EQ(group.itemButton(3), nullptr);

    group.setItemIndex(2);
    EXPECT_TRUE(group.itemButton(2)->isChecked());
    group.show();
    QTest::mouseClick(group.itemButton(0), Qt::LeftButton);
    EXPECT_EQ(group.itemIndex(), 0);
    EXPECT_TRUE(group.itemButton(0)->isChecked());
    EXPECT_FALSE(group.itemButton(2)->isChecked());
    EXPECT_EQ(changes.count(), 2);

    group.setItemIndex(7); // out of range: nothing selected
    EXPECT_EQ(group.itemIndex(), -1);
    for (int i = 0; i < 3; ++i)
        EXPECT_FALSE(group.itemButton(i)->isChecked());

    group.setItemIndex(2);
    group.setItems({QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c"), QStringLiteral("d")});
    EXPECT_EQ(group.itemIndex(), 2);
    EXPECT_TRUE(group.itemButton(2)->isChecked());
    group.setItems({QStringLiteral("a")});
    EXPECT_EQ(group.itemIndex(), -1);
    EXPECT_EQ(group.items(), QStringList({"a"}));
    EXPECT_TRUE(group.itemButton(0)->objectName().isEmpty());
}

TEST(WidgetModalSeamTest, FiltersBecomeQtFilters)
{
    const struct {
        const char* in;
        const char* out;
    } cases[] = {
        {"Error info file(error.errinfo)|error.errinfo|All file(*.*)|*.*",
         "Error info file(error.errinfo) (error.errinfo);;All file(*.*) (*.*)"},
        {"Tables|*.txt;*.csv", "Tables (*.txt *.csv)"},
        {"Odd|*.a|Trailing", "Odd (*.a);;Trailing"},
        {"Images (*.png)", "Images (*.png)"},
        {"", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(qtFileDialogFilter(QString::fromUtf8(c.in)), QString::fromUtf8(c.out)) << c.in;
}

TEST(WidgetModalSeamTest, ExecRunsTheProgramsDialogs)
{
    ensureWidgetApp();
    TWidgetModalSeam seam;
    QDialog dialog;
    QTimer::singleShot(0, &dialog, &QDialog::accept);
    EXPECT_EQ(seam.execDialog(&dialog), int(QDialog::Accepted));
    QObject notADialog;
    EXPECT_EQ(seam.execDialog(&notADialog), 0);
    EXPECT_EQ(seam.execDialog(nullptr), 0);
}

} // namespace
