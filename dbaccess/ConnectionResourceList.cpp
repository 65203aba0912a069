#include "dbaccess/ConnectionResourceList.h"

TDBConnectionResourceList::~TDBConnectionResourceList() = default;

void TDBConnectionResourceList::add(const QString&, std::unique_ptr<TResourceHolder> object)
{
    if (object)
        m_objects.push_back(std::move(object));
}

void TDBConnectionResourceList::clear()
{
    m_objects.clear();
}
