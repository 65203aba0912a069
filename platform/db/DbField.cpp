#include "platform/db/DbField.h"

#include "platform/db/DbQuery.h"

const DbFieldDef& DbField::def() const { return m_query->fieldDefs()[static_cast<size_t>(m_index)]; }

bool DbField::isLargeObject() const
{
    switch (dataType()) {
    case ftBlob: case ftMemo: case ftGraphic: case ftFmtMemo: case ftTypedBinary:
    case ftOraBlob: case ftOraClob: case ftWideMemo: case ftStream:
        return true;
    default:
        return false;
    }
}

const DbValue& DbField::value() const { return m_query->currentValue(m_index); }
