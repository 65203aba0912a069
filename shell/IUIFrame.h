#pragma once
#include "shell/ITitled.h"

class QWidget;
class IUIContext;

// A wizard page. The step index is plain data so that page lists stamp it
// without a virtual call.
class IUIFrame : public ISubTitle {
public:
    virtual QWidget* getControl() const = 0;       // the visual frame
    virtual bool isStartPage() const = 0;
    virtual bool canCancel() const = 0;
    virtual bool canNext() const = 0;
    virtual bool canPrior() const = 0;
    virtual bool canFinish() const = 0;
    virtual void setCanCancel(bool value) = 0;
    virtual void setCanNext(bool value) = 0;
    virtual void setCanPrior(bool value) = 0;
    virtual void setCanFinish(bool value) = 0;
    virtual bool isFinishPage() const = 0;
    virtual void setFinishPage(bool value) = 0;
    virtual bool enter(IUIContext* context) = 0;   // stores the context, then doEnter
    virtual bool doEnter() = 0;

    int stepIndex = -1;
};
