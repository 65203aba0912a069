#pragma once
// A progress display: the progress page, the console bar of unattended runs.

#include <QString>

class IShowProcess {
public:
    virtual ~IShowProcess() = default;
    virtual void startProgress(int minimum, int maximum) = 0;
    virtual void setProgress(int position, const QString& text) = 0;
    virtual void setCaption(const QString& text) = 0;
    virtual void setBottomText(const QString& text) = 0;
    virtual void showStep(const QString& text) = 0;
    virtual void addLine(const QString& text) = 0;
    virtual void finishProgress() = 0;
};
