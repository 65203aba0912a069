#include "shell/CancheCurrentShowProcess.h"

#include <chrono>

namespace {
double nowSeconds()
{
    using namespace std::chrono;
    // Never 0, so that 0 keeps meaning "no update yet".
    return duration<double>(steady_clock::now().time_since_epoch()).count() + 1.0;
}
} // namespace

void TCancheCurrentShowProcess::startProgress(int minimum, int maximum)
{
    m_lastUpdate = 0;
    if (m_display)
        m_display->startProgress(minimum, maximum);
}

void TCancheCurrentShowProcess::setProgress(int position, const QString& text)
{
    if (m_display)
        m_display->setProgress(position, text);
}

void TCancheCurrentShowProcess::setCaption(const QString& text)
{
    if (m_display)
        m_display->setCaption(text);
}

void TCancheCurrentShowProcess::setBottomText(const QString& text)
{
    if (m_display)
        m_display->setBottomText(text);
}

void TCancheCurrentShowProcess::showStep(const QString& text)
{
    if (m_display)
        m_display->showStep(text);
}

void TCancheCurrentShowProcess::addLine(const QString& text)
{
    if (m_display)
        m_display->addLine(text);
}

void TCancheCurrentShowProcess::finishProgress()
{
    if (m_display)
        m_display->finishProgress();
}

void TCancheCurrentShowProcess::finishStep()
{
    basePercent += stepPercent;
    stepUnits = 0;
}

void TCancheCurrentShowProcess::showBase(const QString& text)
{
    setProgress(int(basePercent), text);
}

void TCancheCurrentShowProcess::showUnits(int n, const QString& text)
{
    if (stepUnits > 0)
        setProgress(int(basePercent + double(n) / stepUnits * stepPercent), text);
    else
        showBase(text);
}

void TCancheCurrentShowProcess::reportUnits(int n, const QString& text)
{
    const double now = nowSeconds();
    if (m_lastUpdate == 0) {
        m_lastUpdate = now;
        return;
    }
    if (m_lastUpdate + 3.0 < now) {
        setCaption(text);
        showUnits(n, QString());
        m_lastUpdate = now;
    }
}

TCancheCurrentShowProcess& currentShowProcess()
{
    static TCancheCurrentShowProcess process;
    return process;
}
