#include "ShellFakes.h"

#include "foundation/Exception.h"
#include "shell/UIFrameList.h"

#include <gtest/gtest.h>

namespace {

// A configuration that reports its destruction.
class TTrackedConfig : public TTestConfig {
public:
    explicit TTrackedConfig(int* alive) : m_alive(alive) { ++*m_alive; }
    ~TTrackedConfig() override { --*m_alive; }

private:
    int* m_alive;
};

class TTestMapping : public TAbsConvertMapping {
public:
    TTestMapping(IDBConvert* job, int* alive) : TAbsConvertMapping(job), m_alive(alive)
    {
        ++*m_alive;
        setPages(std::make_unique<TUIFrameList>(this));
    }
    ~TTestMapping() override { --*m_alive; }

private:
    int* m_alive;
};

class TMappedJob : public TTestJob {
public:
    TMappedJob(int* mappings, int* pages)
    {
        auto mapping = std::make_unique<TTestMapping>(this, mappings);
        mapping->getPages()->add(new TTestPage(mapping.get(), pages));
        setMapping(std::move(mapping));
        setOwnPage(std::make_unique<TTestPage>(this, pages));
    }
};

} // namespace

TEST(JobClasses, JobOwnsConfigurationsMappingAndPages)
{
    int configs = 0, mappings = 0, pages = 0;
    {
        TMappedJob job(&mappings, &pages);
        job.setSourceConfig(std::make_unique<TTrackedConfig>(&configs));
        job.setDestConfig(std::make_unique<TTrackedConfig>(&configs));
        EXPECT_EQ(configs, 2);
        EXPECT_EQ(job.getMapping()->getPages()->count(), 1);
        EXPECT_EQ(static_cast<TAbsConvertMapping*>(job.getMapping())->job(), &job);
        EXPECT_NE(job.getMapping()->getMappingTable(), nullptr);
        EXPECT_EQ(pages, 2);

        job.setSourceConfig(std::make_unique<TTrackedConfig>(&configs));
        EXPECT_EQ(configs, 2) << "the replaced configuration is destroyed";
    }
    EXPECT_EQ(configs, 0);
    EXPECT_EQ(mappings, 0);
    EXPECT_EQ(pages, 0);
}

TEST(JobClasses, ConfigurationOwnsSettingsAndItsPages)
{
    int pages = 0;
    {
        TTestConfig config;
        ASSERT_NE(config.getSettings(), nullptr);
        ASSERT_NE(config.getPages(), nullptr);
        EXPECT_EQ(config.getPages()->owner(), &config);
        config.getPages()->add(new TTestPage(&config, &pages));
        EXPECT_EQ(config.createConnection(), nullptr);
    }
    EXPECT_EQ(pages, 0);
}

TEST(PageList, OwnerlessListsOwnOwnerlessPagesOnly)
{
    int pages = 0;
    TTestConfig config;
    auto* foreign = new TTestPage(&config, &pages);
    config.getPages()->add(foreign);
    {
        TUIFrameList wizard;
        wizard.add(new TTestPage(nullptr, &pages));
        wizard.add(foreign);
        wizard.add(nullptr);
        EXPECT_EQ(wizard.count(), 2);
        wizard.remove(foreign);
        EXPECT_EQ(pages, 2) << "a page of the configuration is only referenced";
        wizard.add(foreign);
    }
    EXPECT_EQ(pages, 1);
    EXPECT_EQ(config.getPages()->item(0), foreign);
}

TEST(PageList, MissingOwnerRaises)
{
    try {
        TUIFrameList list(nullptr);
        FAIL() << "no exception";
    } catch (const Exception& e) {
        EXPECT_EQ(e.message(), QStringLiteral("Owner title is null!"));
    }
}

TEST(PageList, StepForNewIsStampedOnAddAndAddAll)
{
    int pages = 0;
    TTestConfig config;
    TUIFrameList wizard;
    config.getPages()->stepForNew = 1;
    config.getPages()->add(new TTestPage(&config, &pages));
    config.getPages()->add(new TTestPage(&config, &pages));
    EXPECT_EQ(config.getPages()->item(0)->stepIndex, 1);
    wizard.add(new TTestPage(nullptr, &pages));
    EXPECT_EQ(wizard.item(0)->stepIndex, -1);
    wizard.stepForNew = 3;
    wizard.addAll(config.getPages());
    wizard.addAll(nullptr);
    ASSERT_EQ(wizard.count(), 3);
    EXPECT_EQ(wizard.item(1)->stepIndex, 3);
    EXPECT_EQ(wizard.item(2)->stepIndex, 3);
    EXPECT_THROW(wizard.item(3), Exception);
}

TEST(PageList, DeleteRangeSkipsMissingIndexes)
{
    int pages = 0;
    TUIFrameList wizard;
    for (int i = 0; i < 4; ++i)
        wizard.add(new TTestPage(nullptr, &pages));
    IUIFrame* first = wizard.item(0);
    wizard.deleteRange(1, wizard.count());
    EXPECT_EQ(wizard.count(), 1);
    EXPECT_EQ(wizard.item(0), first);
    EXPECT_EQ(pages, 1);
    wizard.deleteRange(5, 9);
    EXPECT_EQ(wizard.count(), 1);
}

TEST(PageList, PageListedTwiceIsDestroyedOnceAndNeverLeftDangling)
{
    int pages = 0;
    {
        TUIFrameList wizard;
        auto* twice = new TTestPage(nullptr, &pages);
        wizard.add(twice);
        wizard.add(new TTestPage(nullptr, &pages));
        wizard.add(twice);
        wizard.deleteRange(0, 0);
        EXPECT_EQ(pages, 2) << "still listed at index 1";
        EXPECT_EQ(wizard.item(1), twice);
        wizard.add(twice);
        wizard.remove(twice);
        EXPECT_EQ(pages, 1);
        wizard.add(new TTestPage(nullptr, &pages));
        wizard.add(wizard.item(1));
    }
    EXPECT_EQ(pages, 0);
}
