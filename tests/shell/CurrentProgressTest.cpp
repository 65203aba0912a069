// The current-progress object: forwarding to the display, percent arithmetic
// of tables and rows, and the row throttle.

#include "shell/CacheCurrentShowProcess.h"

#include <QStringList>
#include <gtest/gtest.h>

namespace {

class TRecordingDisplay : public IShowProcess {
public:
    QStringList calls;
    void startProgress(int minimum, int maximum) override { calls << QStringLiteral("start %1 %2").arg(minimum).arg(maximum); }
    void setProgress(int position, const QString& text) override { calls << QStringLiteral("progress %1 %2").arg(position).arg(text); }
    void setCaption(const QString& text) override { calls << QStringLiteral("caption ") + text; }
    void setBottomText(const QString& text) override { calls << QStringLiteral("bottom ") + text; }
    void showStep(const QString& text) override { calls << QStringLiteral("step ") + text; }
    void addLine(const QString& text) override { calls << QStringLiteral("line ") + text; }
    void finishProgress() override { calls << QStringLiteral("finish"); }
};

TEST(CurrentProgress, ForwardsEveryOperationToTheDisplay)
{
    TCacheCurrentShowProcess progress;
    TRecordingDisplay display;
    progress.setDisplay(&display);
    progress.startProgress(0, 100);
    progress.setProgress(5, QStringLiteral("a"));
    progress.setCaption(QStringLiteral("b"));
    progress.setBottomText(QStringLiteral("c"));
    progress.showStep(QStringLiteral("d"));
    progress.addLine(QStringLiteral("e"));
    progress.finishProgress();
    EXPECT_EQ(display.calls, QStringList({"start 0 100", "progress 5 a", "caption b", "bottom c", "step d", "line e",
                                          "finish"}));
}

TEST(CurrentProgress, PercentOfFinishedTablesAndOfRows)
{
    TCacheCurrentShowProcess progress;
    TRecordingDisplay display;
    progress.setDisplay(&display);
    progress.stepPercent = 100.0 / 10; // ten tables
    for (int table = 0; table < 3; ++table) {
        progress.stepUnits = 1000;
        progress.finishStep();
    }
    EXPECT_EQ(progress.stepUnits, 0);
    progress.showBase(QStringLiteral("third done"));
    progress.showUnits(999, QStringLiteral("rows not counted")); // stepUnits 0: the base only
    progress.stepUnits = 1000;
    progress.showUnits(999, QString()); // 30 + 9.99, truncated
    progress.stepPercent = 100.0 / 3;
    progress.basePercent = 2 * progress.stepPercent;
    progress.stepUnits = -1;
    progress.showBase(QString());
    EXPECT_EQ(display.calls, QStringList({"progress 30 third done", "progress 30 rows not counted", "progress 39 ",
                                          "progress 66 "}));
}

TEST(CurrentProgress, RowReportsWithinThreeSecondsShowNothing)
{
    TCacheCurrentShowProcess progress;
    TRecordingDisplay display;
    progress.setDisplay(&display);
    progress.stepPercent = 50;
    progress.stepUnits = 1000;
    for (int row = 1; row <= 1000; ++row)
        progress.reportUnits(row, QStringLiteral("copying"));
    progress.resetThrottle();
    progress.reportUnits(1, QStringLiteral("next table"));
    EXPECT_TRUE(display.calls.isEmpty());
}

TEST(CurrentProgress, WithoutADisplayEverythingIsIgnored)
{
    TCacheCurrentShowProcess progress;
    progress.startProgress(0, 100);
    progress.stepPercent = 25;
    progress.stepUnits = 4;
    progress.reportUnits(1, QStringLiteral("row"));
    progress.showUnits(2, QStringLiteral("half"));
    progress.finishStep();
    progress.showBase(QStringLiteral("done"));
    progress.setCaption(QString());
    progress.finishProgress();
    EXPECT_EQ(progress.basePercent, 25);
    EXPECT_EQ(progress.display(), nullptr);
}

} // namespace
