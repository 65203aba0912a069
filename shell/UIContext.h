#pragma once
// The wizard context: everything a page or the run engine may ask of the
// window that hosts it. TAbsUIContext keeps the state shared by every host;
// the operations that act on a window are left to the concrete host (the
// main window, or a headless runner without any window).

#include <QString>

#include <functional>
#include <memory>

class QWidget;
class ILeftPanel;
class IUIFrame;
class TMainConfigInfo;
class TUIFrameList;

// An event of the current page. For Next, true lets the wizard move; for the
// other buttons the result is ignored.
using TUIContextEvent = std::function<bool()>;

class IUIContext {
public:
    virtual ~IUIContext() = default;
    virtual ILeftPanel* getLeftPanel() const = 0;
    virtual void setLeftPanel(ILeftPanel* panel) = 0;             // not owned
    virtual const TUIContextEvent& getOnNext() const = 0;
    virtual const TUIContextEvent& getOnPrior() const = 0;
    virtual const TUIContextEvent& getOnCancel() const = 0;
    virtual const TUIContextEvent& getOnFinish() const = 0;
    virtual void setOnNext(TUIContextEvent event) = 0;
    virtual void setOnPrior(TUIContextEvent event) = 0;
    virtual void setOnCancel(TUIContextEvent event) = 0;
    virtual void setOnFinish(TUIContextEvent event) = 0;
    virtual int getCurrentIndex() const = 0;
    virtual TUIFrameList* getPageList() const = 0;                // owned by the context
    virtual IUIFrame* getCurrentPage() const = 0;
    virtual TMainConfigInfo* getConfigInfo() const = 0;           // owned by the context
    virtual void setCurrentIndex(int index) = 0;
    virtual void setCurrentPage(IUIFrame* page) = 0;              // not owned
    virtual void setConfigFileName(const QString& fileName) = 0;
    virtual QString getConfigFileName() const = 0;
    virtual QString getDumpFileName() const = 0;
    virtual void setDumpFileName(const QString& fileName) = 0;
    virtual void goNext(int steps) = 0;
    virtual void goPrior(int steps) = 0;
    virtual void reportMessage(const QString& text) = 0;          // last action becomes 3
    virtual void showMessage(const QString& text) = 0;
    virtual int getLastAction() const = 0;                        // 0 none, 1 Next, 2 Back, 3 message
    virtual void clearEvents() = 0;
    virtual void showWait(const QString& text) = 0;
    virtual void hideWait() = 0;                                  // any thread
    virtual void refreshButtons() = 0;
    virtual void disableButtons() = 0;
    virtual void restoreButtons() = 0;
    virtual QWidget* getHelpImage() const = 0;
    virtual QWidget* getCornerImage() const = 0;
    virtual void closeWithoutAsking() = 0;                        // sets the stop flag, then closes
    virtual void finishWizard() = 0;
    virtual void cancelWizard() = 0;
};

class TAbsUIContext : public IUIContext {
public:
    TAbsUIContext();
    ~TAbsUIContext() override;
    TAbsUIContext(const TAbsUIContext&) = delete;
    TAbsUIContext& operator=(const TAbsUIContext&) = delete;

    const TUIContextEvent& getOnNext() const override { return m_onNext; }
    const TUIContextEvent& getOnPrior() const override { return m_onPrior; }
    const TUIContextEvent& getOnCancel() const override { return m_onCancel; }
    const TUIContextEvent& getOnFinish() const override { return m_onFinish; }
    void setOnNext(TUIContextEvent event) override { m_onNext = std::move(event); }
    void setOnPrior(TUIContextEvent event) override { m_onPrior = std::move(event); }
    void setOnCancel(TUIContextEvent event) override { m_onCancel = std::move(event); }
    void setOnFinish(TUIContextEvent event) override { m_onFinish = std::move(event); }
    int getCurrentIndex() const override { return m_currentIndex; }
    TUIFrameList* getPageList() const override { return m_pages.get(); }
    IUIFrame* getCurrentPage() const override { return m_currentPage; }
    TMainConfigInfo* getConfigInfo() const override { return m_configInfo.get(); }
    void setCurrentIndex(int index) override { m_currentIndex = index; }
    void setCurrentPage(IUIFrame* page) override { m_currentPage = page; }
    void setConfigFileName(const QString& fileName) override { m_configFileName = fileName; }
    QString getConfigFileName() const override { return m_configFileName; }
    QString getDumpFileName() const override { return m_dumpFileName; }
    void setDumpFileName(const QString& fileName) override { m_dumpFileName = fileName; }
    void clearEvents() override;

private:
    TUIContextEvent m_onNext;
    TUIContextEvent m_onPrior;
    TUIContextEvent m_onCancel;
    TUIContextEvent m_onFinish;
    int m_currentIndex = -1;
    IUIFrame* m_currentPage = nullptr; // not owned
    QString m_configFileName;
    QString m_dumpFileName;
    // Pages are destroyed before the container they may refer to.
    std::unique_ptr<TMainConfigInfo> m_configInfo;
    std::unique_ptr<TUIFrameList> m_pages;
};
