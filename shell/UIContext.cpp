#include "shell/UIContext.h"

#include "shell/MainConfigInfo.h"
#include "shell/UIFrameList.h"

TAbsUIContext::TAbsUIContext()
    : m_configInfo(std::make_unique<TMainConfigInfo>())
    , m_pages(std::make_unique<TUIFrameList>())
{
}

TAbsUIContext::~TAbsUIContext() = default;

void TAbsUIContext::clearEvents()
{
    m_onNext = nullptr;
    m_onPrior = nullptr;
    m_onCancel = nullptr;
    m_onFinish = nullptr;
}
