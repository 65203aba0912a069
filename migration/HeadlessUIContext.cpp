#include "migration/HeadlessUIContext.h"

#include "foundation/ModalSeam.h"
#include "shell/StopFlag.h"

namespace {
constexpr int kLastActionMessage = 3;
}

void THeadlessUIContext::reportMessage(const QString& text)
{
    m_lastAction = kLastActionMessage;
    showMessage(text);
}

void THeadlessUIContext::showMessage(const QString& text) { modalSeam().showMessage(text, QString()); }

void THeadlessUIContext::closeWithoutAsking() { requestStop(); }
