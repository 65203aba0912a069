#include "platform/db/DbFieldDef.h"

int DbFieldDef::dataSize() const
{
    switch (dataType) {
    case ftSmallint: case ftWord: return 2;
    case ftInteger: case ftAutoInc: case ftLongWord: return 4;
    case ftShortint: case ftByte: return 1;
    case ftLargeint: return 8;
    case ftBoolean: return 1;
    case ftFloat: case ftCurrency: case ftDate: case ftTime: case ftDateTime: return 8;
    case ftExtended: return 10;
    case ftBCD: case ftFMTBcd: return 34;
    case ftTimeStamp: case ftOraTimeStamp: return 16;
    case ftWideString: case ftFixedWideChar: return (size + 1) * 2;
    case ftString: case ftFixedChar: return size + 1;
    default: return size;
    }
}
