// Moving values between real edit controls and name=value lists; list
// selection; the help-image copy; pumping events.

#include "WidgetTestApp.h"

#include "foundation/windows/ControlUtils.h"
#include "foundation/windows/ImageLabel.h"
#include "foundation/windows/OwnedWidgets.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QTest>
#include <QTimer>

namespace {

struct SettingsFrame {
    QWidget frame;
    QLineEdit* server = new QLineEdit(&frame);
    QLineEdit* unmapped = new QLineEdit(&frame);
    QComboBox* database = new QComboBox(&frame);   // editable
    QComboBox* provider = new QComboBox(&frame);   // drop-down list
    QPlainTextEdit* options = new QPlainTextEdit(&frame);
    QWidget* nested = new QWidget(&frame);
    QLineEdit* nestedEdit = new QLineEdit(nested); // belongs to the nested frame
    TStringList map{QStringList{"Edit_Server=MainProperty_Server", "ComboBox_DataBase=MainProperty_Database",
                                "ComboBox_Provider=MainProperty_ProviderName", "Memo_Options=Options",
                                "Edit_Nested=Nested"}};

    SettingsFrame()
    {
        server->setObjectName(QStringLiteral("Edit_Server"));
        unmapped->setObjectName(QStringLiteral("Edit_Unmapped"));
        database->setObjectName(QStringLiteral("ComboBox_DataBase"));
        database->setEditable(true);
        provider->setObjectName(QStringLiteral("ComboBox_Provider"));
        provider->addItems({QStringLiteral("MySQL"), QStringLiteral("Oracle")});
        options->setObjectName(QStringLiteral("Memo_Options"));
        nested->setObjectName(QStringLiteral("Frame_Nested"));
        markSelfLocalizing(nested);
        nestedEdit->setObjectName(QStringLiteral("Edit_Nested"));
    }
};

TEST(ControlUtilsTest, CollectWritesMappedKeysAndEmptyTextRemovesThem)
{
    ensureWidgetApp();
    SettingsFrame f;
    f.server->setText(QStringLiteral("db.local"));
    f.unmapped->setText(QStringLiteral("ignored"));
    f.database->setEditText(QString()); // empty: removes the key
    f.provider->setCurrentIndex(1);
    f.options->setPlainText(QStringLiteral("a=1\n\tb=2"));
    f.nestedEdit->setText(QStringLiteral("nested"));

    TStringList target(QStringList{"MainProperty_Database=old", "Keep=1"});
    collectControlValues(&f.frame, &f.map, &target, true);
    EXPECT_EQ(target.lines(), QStringList({"Keep=1", "MainProperty_Server=db.local",
                                           "MainProperty_ProviderName=Oracle", "Options=a=1b=2"}));

    TStringList raw;
    collectControlValues(&f.frame, &f.map, &raw, false);
    EXPECT_EQ(raw.value(QStringLiteral("Options")), QStringLiteral("a=1\n\tb=2"));

    collectControlValues(&f.frame, nullptr, &raw); // no map: nothing, no crash
}

TEST(ControlUtilsTest, ApplySetsMappedValuesAndBlanksTheRest)
{
    ensureWidgetApp();
    SettingsFrame f;
    f.unmapped->setText(QStringLiteral("was here"));
    f.nestedEdit->setText(QStringLiteral("nested"));
    const TStringList values(QStringList{"MainProperty_Server=srv", "MainProperty_Database=sales",
                                         "MainProperty_ProviderName=Oracle", "Nested=x"});
    applyControlValues(&f.frame, &f.map, &values);
    EXPECT_EQ(f.server->text(), QStringLiteral("srv"));
    EXPECT_EQ(f.unmapped->text(), QString());
    EXPECT_EQ(f.database->currentText(), QStringLiteral("sales"));
    EXPECT_EQ(f.provider->currentText(), QStringLiteral("Oracle"));
    EXPECT_EQ(f.options->toPlainText(), QString()); // key missing
    EXPECT_EQ(f.nestedEdit->text(), QStringLiteral("nested"));

    const TStringList unknownProvider(QStringList{"MainProperty_ProviderName=DB9"});
    applyControlValues(&f.frame, &f.map, &unknownProvider);
    EXPECT_EQ(f.provider->currentIndex(), -1);
}

TEST(ControlUtilsTest, SelectedListItemsInRowOrder)
{
    ensureWidgetApp();
    QListWidget list;
    list.setSelectionMode(QAbstractItemView::MultiSelection);
    list.addItems({QStringLiteral("T1"), QStringLiteral("T2"), QStringLiteral("SQL@q"), QStringLiteral("T4")});
    list.item(3)->setSelected(true);
    list.item(0)->setSelected(true);
    list.item(2)->setSelected(true);
    EXPECT_EQ(selectedListItems(&list)->lines(), QStringList({"T1", "SQL@q", "T4"}));
    list.clearSelection();
    EXPECT_TRUE(selectedListItems(&list)->isEmpty());
}

TEST(ControlUtilsTest, TemplateImageCopyKeepsPictureGeometryAndHandler)
{
    ensureWidgetApp();
    QWidget owner, page;
    owner.resize(200, 200);
    page.resize(200, 200);
    auto* help = new TImageLabel(&owner);
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::blue);
    help->setPixmap(pixmap);
    help->setGeometry(10, 20, 16, 16);
    help->setCursor(Qt::PointingHandCursor);
    int clickedTag = 0;
    help->setClickHandler([&](TImageLabel* image) { clickedTag = image->tag(); });

    TImageLabel* copy = copyTemplateImage(help, 7101, &page);
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->parentWidget(), &page);
    EXPECT_EQ(copy->geometry(), QRect(10, 20, 16, 16));
    EXPECT_EQ(copy->pixmap().toImage(), pixmap.toImage());
    EXPECT_EQ(copy->cursor().shape(), Qt::PointingHandCursor);
    EXPECT_EQ(copy->tag(), 7101);
    EXPECT_FALSE(copy->isHidden());
    page.show();
    QTest::mouseClick(copy, Qt::LeftButton);
    EXPECT_EQ(clickedTag, 7101);

    EXPECT_EQ(copyTemplateImage(nullptr, 1, &page), nullptr);
}

TEST(ControlUtilsTest, PumpMessagesDeliversPostedWork)
{
    ensureWidgetApp();
    QWidget panel;
    bool ran = false;
    QTimer::singleShot(0, &panel, [&] { ran = true; });
    pumpMessages(&panel);
    EXPECT_TRUE(ran);
}

} // namespace
