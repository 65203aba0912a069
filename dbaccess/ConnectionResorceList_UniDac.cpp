#include "dbaccess/ConnectionResorceList_UniDac.h"

TConnectionResorceList_UniDac::~TConnectionResorceList_UniDac() = default;

void TConnectionResorceList_UniDac::add(const QString&, std::unique_ptr<TResourceHolder> object)
{
    if (object)
        m_objects.push_back(std::move(object));
}

void TConnectionResorceList_UniDac::clear()
{
    m_objects.clear();
}
