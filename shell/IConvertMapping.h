#pragma once
// The table and field mapping of a job.

#include "shell/ITitled.h"

class TKwStringsComponent;
class TUIFrameList;

class IConvertMapping : public ITitled {
public:
    virtual TUIFrameList* getPages() = 0;
    virtual TKwStringsComponent* getMappingTable() = 0;
};
