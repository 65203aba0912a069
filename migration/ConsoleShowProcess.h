#pragma once
// The progress display of the headless runner. On a terminal: message lines
// scroll above a one-line bar with the percent, the current caption (table
// and row count) and the error count. Otherwise: plain lines only, so that a
// log of a scheduled run stays readable.

#include "shell/IShowProcess.h"

#include <cstdio>

class TConsoleShowProcess : public IShowProcess {
public:
    // out: not owned. terminal: draw the bar (see isTerminal).
    TConsoleShowProcess(std::FILE* out, bool terminal);
    ~TConsoleShowProcess() override;

    static bool isTerminal(std::FILE* stream);

    void startProgress(int minimum, int maximum) override;
    void setProgress(int position, const QString& text) override;
    void setCaption(const QString& text) override;
    void setBottomText(const QString& text) override;
    void showStep(const QString& text) override;
    void addLine(const QString& text) override;
    // Ends the bar's line; later lines print without the bar.
    void finishProgress() override;

    int percent() const;

private:
    void printLine(const QString& text);
    void drawBar();
    void clearBar();
    int columns() const;

    std::FILE* m_out;
    bool m_terminal;
    int m_minimum = 0;
    int m_maximum = 100;
    int m_position = 0;
    QString m_caption;
    QString m_bottom;
    QString m_lastLine;
    bool m_barShown = false;
    bool m_finished = false; // no bar after the end of the run
};
