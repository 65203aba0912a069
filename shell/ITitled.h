#pragma once
// What the wizard shows a title for: jobs, configurations, mappings, pages.

#include <QString>

class ITitled {
public:
    virtual ~ITitled() = default;
    virtual QString getTitle() const = 0;        // the title key
    virtual QString getDisplayTitle() const = 0; // the localised title
};

class ISubTitle : public ITitled {
public:
    virtual ITitled* getOwner() const = 0; // the owning titled object, or none
};
