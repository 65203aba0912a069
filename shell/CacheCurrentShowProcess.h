#pragma once
// The current-progress object: forwards to the progress display of the run
// (when there is one), computes per-table and per-row percentages and
// throttles row updates to one every 3 seconds.

#include "shell/IShowProcess.h"

class TCacheCurrentShowProcess : public IShowProcess {
public:
    void startProgress(int minimum, int maximum) override;
    void setProgress(int position, const QString& text) override;
    void setCaption(const QString& text) override;
    void setBottomText(const QString& text) override;
    void showStep(const QString& text) override;
    void addLine(const QString& text) override;
    void finishProgress() override;

    // Not owned; none means every call is ignored.
    void setDisplay(IShowProcess* display) { m_display = display; }
    IShowProcess* display() const { return m_display; }

    void finishStep();
    void resetThrottle() { m_lastUpdate = 0; }
    void showBase(const QString& text);
    void showUnits(int n, const QString& text);
    // Called for every row: at most one clock reading, a display update at
    // most every 3 seconds.
    void reportUnits(int n, const QString& text);

    double basePercent = 0;
    double stepPercent = 0;
    int stepUnits = 0;

private:
    IShowProcess* m_display = nullptr;
    double m_lastUpdate = 0; // seconds of a monotonic clock; 0 = none yet
};

TCacheCurrentShowProcess& currentShowProcess();
