#include "shell/CacheCurrentShowProcess.h"

#include <chrono>

namespace {
double nowSeconds()
{
    using namespace std::chrono;
    // Never 0, so that 0 keeps meaning "no update yet".
    return duration<double>(steady_clock::now().time_since_epoch()).count() + 1.0;
}
} // namespace

void TCacheCurrentShowProcess::startProgress(int minimum, int maximum)
{
    m_lastUpdate = 0;
    if (m_display)
        m_display->startProgress(minimum, maximum);
}

void TCacheCurrentShowProcess::setProgress(int position, const QString& text)
{
    if (m_display)
        m_display->setProgress(position, text);
}

void TCacheCurrentShowProcess::setCaption(const QString& text)
{
    if (m_display)
        m_display->setCaption(text);
}

void TCacheCurrentShowProcess::setBottomText(const QString& text)
{
    if (m_display)
        m_display->setBottomText(text);
}

void TCacheCurrentShowProcess::showStep(const QString& text)
{
    if (m_display)
        m_display->showStep(text);
}

void TCacheCurrentShowProcess::addLine(const QString& text)
{
    if (m_display)
        m_display->addLine(text);
}

void TCacheCurrentShowProcess::finishProgress()
{
    if (m_display)
        m_display->finishProgress();
}

void TCacheCurrentShowProcess::finishStep()
{
    basePercent += stepPercent;
    stepUnits = 0;
}

void TCacheCurrentShowProcess::showBase(const QString& text)
{
    setProgress(int(basePercent), text);
}

void TCacheCurrentShowProcess::showUnits(int n, const QString& text)
{
    if (stepUnits > 0)
        setProgress(int(basePercent + double(n) / stepUnits * stepPercent), text);
    else
        showBase(text);
}

void TCacheCurrentShowProcess::reportUnits(int n, const QString& text)
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

TCacheCurrentShowProcess& currentShowProcess()
{
    static TCacheCurrentShowProcess process;
    return process;
}
