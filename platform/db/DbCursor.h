#pragma once
// Provider side of a result set: the column definitions and the rows, read
// forward once. DbQuery wraps a cursor for callers.

#include "platform/db/DbFieldDef.h"
#include "platform/db/DbValue.h"

#include <vector>

class DbCursor {
public:
    virtual ~DbCursor() = default;
    virtual const std::vector<DbFieldDef>& fieldDefs() const = 0;
    // Fills `row` (one value per field) with the next row; false at the end.
    virtual bool fetch(std::vector<DbValue>& row) = 0;
    // Reads every remaining row into memory so that the connection is free
    // for other statements while the cursor stays readable. Providers whose
    // connection can serve several open results keep the default.
    virtual void detach() {}
};
