#pragma once
// The parameters of one statement, in order of their occurrence. Values are
// assigned by position; a copy of a list is a template for another query.

#include "platform/db/DbParam.h"

#include <QString>
#include <vector>

class DbParamList {
public:
    DbParamList() = default;

    // One parameter per ":name" occurrence of the statement (DbSqlParser).
    static DbParamList fromStatement(const QString& sql, bool backslashEscapes = false);

    int count() const { return static_cast<int>(m_params.size()); }
    bool isEmpty() const { return m_params.empty(); }
    DbParam& at(int index);              // raises DbError when out of range
    const DbParam& at(int index) const;
    DbParam* findParam(const QString& name); // first match ignoring case, or nullptr
    DbParam& paramByName(const QString& name); // raises DbError when absent
    DbParam& add(const QString& name);
    void clear() { m_params.clear(); m_arraySize = 1; }

    // Rows bound by one execute; every parameter holds that many values.
    int arraySize() const { return m_arraySize; }
    void setArraySize(int rows);

    // Takes over data types and values of `other` by position; the names stay.
    // Raises DbError when the counts differ.
    void assignValues(const DbParamList& other);

private:
    std::vector<DbParam> m_params;
    int m_arraySize = 1;
};
