#pragma once
// A wizard context without any window, for unattended runs: messages go
// through the modal seam (standard error when headless), navigation and
// button operations do nothing, and the close request only stops the run.

#include "shell/UIContext.h"

class THeadlessUIContext : public TAbsUIContext {
public:
    ILeftPanel* getLeftPanel() const override { return nullptr; }
    void setLeftPanel(ILeftPanel*) override {}
    void goNext(int) override {}
    void goPrior(int) override {}
    void reportMessage(const QString& text) override;
    void showMessage(const QString& text) override;
    int getLastAction() const override { return m_lastAction; }
    void showWait(const QString&) override {}
    void hideWait() override {}
    void refreshButtons() override {}
    void disableButtons() override {}
    void restoreButtons() override {}
    QWidget* getHelpImage() const override { return nullptr; }
    QWidget* getCornerImage() const override { return nullptr; }
    // Sets the stop flag; there is no window to close.
    void closeWithoutAsking() override;
    void finishWizard() override {}
    void cancelWizard() override {}

private:
    int m_lastAction = 0;
};
