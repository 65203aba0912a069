#pragma once
// The name of one table, and an owned list of them (what a connection lists).

#include <QString>
#include <memory>
#include <vector>

class TTableMetadata {
public:
    TTableMetadata() = default;
    explicit TTableMetadata(const QString& name) : name(name) {}
    QString name;
};

class TTableMetadataList {
public:
    void add(std::unique_ptr<TTableMetadata> item); // a null item is ignored
    void clear() { m_items.clear(); }
    int getCount() const { return int(m_items.size()); }
    TTableMetadata* getItem(int index) const;

private:
    std::vector<std::unique_ptr<TTableMetadata>> m_items;
};
