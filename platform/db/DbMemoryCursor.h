#pragma once
// A cursor over rows held in memory: metadata results and anything a provider
// builds itself.

#include "platform/db/DbCursor.h"

#include <QString>
#include <cstddef>

class DbMemoryCursor : public DbCursor {
public:
    DbMemoryCursor() = default;
    explicit DbMemoryCursor(std::vector<DbFieldDef> defs) : m_defs(std::move(defs)) {}

    void addField(const QString& name, TFieldType type, int size = 0, bool required = false);
    // One value per field; raises DbError when the count is wrong.
    void addRow(std::vector<DbValue> row);
    int rowCount() const { return static_cast<int>(m_rows.size()); }

    const std::vector<DbFieldDef>& fieldDefs() const override { return m_defs; }
    bool fetch(std::vector<DbValue>& row) override;

private:
    std::vector<DbFieldDef> m_defs;
    std::vector<std::vector<DbValue>> m_rows;
    std::size_t m_next = 0;
};
