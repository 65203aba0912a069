// Captions and hints from a section onto real widgets, and the language font.

#include "WidgetTestApp.h"

#include "foundation/KwStringsComponent.h"
#include "foundation/KwTextForm.h"
#include "foundation/StringResource.h"
#include "foundation/windows/ImageLabel.h"
#include "foundation/windows/OwnedWidgets.h"
#include "foundation/windows/WidgetLocalization.h"
#include "platform/windows/RadioGroup.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

template <class W>
W* make(QWidget* parent, const char* name, const QString& text = QStringLiteral("old"))
{
    auto* w = new W(parent);
    w->setObjectName(QString::fromLatin1(name));
    if constexpr (requires { w->setText(text); })
        w->setText(text);
    w->setToolTip(QStringLiteral("old tip"));
    return w;
}

class LocalizeComponentTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ensureWidgetApp();
        createStringResourceManager();
        table = new TKwStringsComponent(&resources, QStringLiteral("UI_CN"));
        kwTableFromText(*table, QStringLiteral(
            "[Form]\n"
            "Caption=The form\n"
            "Label_A=Label text\\r\\nsecond line\n"
            "Label_A.Hint=Label hint\n"
            "Button_OK=OK\n"
            "Button_OK.Hint= \n"
            "SpeedButton_Open=never shown\n"
            "SpeedButton_Open.Hint=Open file\n"
            "Memo_Info=memo text\n"
            "RadioButton_X=radio\n"
            "CheckBox_Y=check\n"
            "GroupBox_Z=group\n"
            "RadioGroup_Operation=Operation\n"
            "TabSheet_SQL=SQL\n"
            "TabSheet_Result=Result\n"
            "Label_InScroll=scrolled\n"
            "Label_InFrame=must not appear\n"
            "Edit_Name=must not appear\n"
            "[Frame]\n"
            "Label_InFrame=frame label\n"));
        registerResourceDataModule(&resources);
    }
    void TearDown() override { destroyStringResourceManager(); }

    QObject resources;
    TKwStringsComponent* table = nullptr;
};

TEST_F(LocalizeComponentTest, TextsEveryKindOfControlAndSkipsNestedFrames)
{
    QDialog form;
    form.setWindowTitle(QStringLiteral("old title"));
    auto* layout = new QVBoxLayout(&form);
    auto* label = make<QLabel>(&form, "Label_A");
    auto* button = make<QPushButton>(&form, "Button_OK");
    auto* speed = make<QToolButton>(&form, "SpeedButton_Open");
    auto* memo = new QPlainTextEdit(QStringLiteral("old"), &form);
    memo->setObjectName(QStringLiteral("Memo_Info"));
    auto* radio = make<QRadioButton>(&form, "RadioButton_X");
    auto* check = make<QCheckBox>(&form, "CheckBox_Y");
    auto* group = new QGroupBox(QStringLiteral("old"), &form);
    group->setObjectName(QStringLiteral("GroupBox_Z"));
    auto* nameless = make<QLabel>(group, ""); // no key of its own: untouched
    auto* missing = make<QLabel>(group, "Label_NotInTable");
    auto* radioGroup = new TRadioGroup(&form);
    radioGroup->setObjectName(QStringLiteral("RadioGroup_Operation"));
    radioGroup->setItems({QStringLiteral("one"), QStringLiteral("two")});
    auto* edit = make<QLineEdit>(&form, "Edit_Name");
    auto* image = new TImageLabel(&form);
    image->setObjectName(QStringLiteral("Label_Image"));

    auto* tabs = new QTabWidget(&form);
    tabs->setObjectName(QStringLiteral("PageControl1"));
    auto* sql = new QWidget;
    sql->setObjectName(QStringLiteral("TabSheet_SQL"));
    auto* result = new QWidget;
    result->setObjectName(QStringLiteral("TabSheet_Result"));
    tabs->addTab(sql, QStringLiteral("old"));
    tabs->addTab(result, QStringLiteral("old"));

    auto* scroll = new QScrollArea(&form);
    scroll->setObjectName(QStringLiteral("ScrollBox1"));
    auto* inner = new QWidget;
    auto* scrolled = make<QLabel>(inner, "Label_InScroll");
    scroll->setWidget(inner);

    // A nested frame on a tab page localises itself from its own section.
    auto* frame = new QWidget(sql);
    frame->setObjectName(QStringLiteral("Frame1"));
    markSelfLocalizing(frame);
    auto* frameLabel = make<QLabel>(frame, "Label_InFrame");
    layout->addWidget(tabs);

    localizeComponent(&form, QStringLiteral("UI"), QStringLiteral("Form"));

    EXPECT_EQ(form.windowTitle(), QStringLiteral("The form"));
    EXPECT_EQ(label->text(), QStringLiteral("Label text\r\nsecond line"));
    EXPECT_EQ(label->toolTip(), QStringLiteral("Label hint"));
    EXPECT_EQ(button->text(), QStringLiteral("OK"));
    EXPECT_EQ(button->toolTip(), QString()); // blank hint: no tip
    EXPECT_EQ(speed->text(), QStringLiteral("old"));
    EXPECT_EQ(speed->toolTip(), QStringLiteral("Open file"));
    EXPECT_EQ(memo->toPlainText(), QStringLiteral("memo text"));
    EXPECT_EQ(radio->text(), QStringLiteral("radio"));
    EXPECT_EQ(check->text(), QStringLiteral("check"));
    EXPECT_EQ(group->title(), QStringLiteral("group"));
    EXPECT_EQ(nameless->text(), QStringLiteral("old"));
    EXPECT_EQ(missing->text(), QString()); // a missing key is the empty text
    EXPECT_EQ(missing->toolTip(), QString());
    EXPECT_EQ(radioGroup->title(), QStringLiteral("Operation"));
    EXPECT_EQ(radioGroup->items(), QStringList({"one", "two"}));
    EXPECT_EQ(edit->text(), QStringLiteral("old")); // edits are not texted
    EXPECT_EQ(image->text(), QString());
    EXPECT_EQ(tabs->tabText(0), QStringLiteral("SQL"));
    EXPECT_EQ(tabs->tabText(1), QStringLiteral("Result"));
    EXPECT_EQ(scrolled->text(), QStringLiteral("scrolled"));
    EXPECT_EQ(frameLabel->text(), QStringLiteral("old"));

    localizeComponent(frame, QStringLiteral("UI"), QStringLiteral("Frame"));
    EXPECT_EQ(frameLabel->text(), QStringLiteral("frame label"));
}

TEST_F(LocalizeComponentTest, FrameGetsNoCaptionAndMissingSectionChangesNothing)
{
    QWidget frame;
    frame.setWindowTitle(QStringLiteral("old title"));
    auto* label = make<QLabel>(&frame, "Label_A");
    auto* picture = make<QLabel>(&frame, "Label_OK");
    QPixmap pixmap(4, 4);
    pixmap.fill(Qt::red);
    picture->setPixmap(pixmap);

    localizeComponent(&frame, QStringLiteral("UI"), QStringLiteral("NoSuchSection"));
    EXPECT_EQ(label->text(), QStringLiteral("old"));

    localizeComponent(&frame, QStringLiteral("UI"), QStringLiteral("Form"));
    EXPECT_EQ(frame.windowTitle(), QStringLiteral("old title"));
    EXPECT_EQ(label->text(), QStringLiteral("Label text\r\nsecond line"));
    EXPECT_FALSE(picture->pixmap().isNull()); // an image label keeps its picture
}

TEST_F(LocalizeComponentTest, LanguageFontFollowsTheCurrentLanguage)
{
    QFont font(QStringLiteral("Sans"), 14);
    applyLanguageFont(font);
    EXPECT_EQ(font.family(), QStringLiteral("宋体"));
    EXPECT_EQ(font.pointSize(), 9);

    stringResourceManager().setLanguage(QStringLiteral("EN"));
    QWidget w;
    applyLanguageFont(&w);
    EXPECT_EQ(w.font().family(), QStringLiteral("Tahoma"));
    EXPECT_EQ(w.font().pointSize(), 8);

    stringResourceManager().setLanguage(QStringLiteral("FR"));
    QFont other(QStringLiteral("Sans"), 14);
    applyLanguageFont(other);
    EXPECT_EQ(other.family(), QStringLiteral("Sans"));
    EXPECT_EQ(other.pointSize(), 14);
}

} // namespace
