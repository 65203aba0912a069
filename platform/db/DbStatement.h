#pragma once
// Provider side of a prepared statement. It stays valid while its session is
// open and may be executed many times with new values.

#include "platform/db/DbCursor.h"
#include "platform/db/DbParamList.h"

#include <cstdint>
#include <memory>

class DbStatement {
public:
    virtual ~DbStatement() = default;
    // Binds `params` by position (arraySize rows) and executes. Returns the
    // result set when the statement produced one, else nullptr. Raises DbError.
    virtual std::unique_ptr<DbCursor> execute(const DbParamList& params) = 0;
    // Rows changed by the last execute (summed over array rows).
    virtual int64_t rowsAffected() const = 0;
};
