#pragma once
// Field definitions of stored records: name, layer field type ordinal and
// required flag of every column, written once before the records they lay out.

#include "foundation/StreamObjectFactory.h"

#include <QString>
#include <QUuid>
#include <memory>
#include <vector>

class DbQuery;

struct TDatasetFieldDef {
    QString name;
    int dataType = 0; // TFieldType ordinal
    bool required = false;
};

class TDatasetFieldDefList : public TStreamObject {
public:
    static const QUuid kClassId; // {67EEDC05-210B-4662-A9A3-4530CD5FFD89}

    TDatasetFieldDefList() = default;
    TDatasetFieldDefList(const TDatasetFieldDefList&) = delete;
    TDatasetFieldDefList& operator=(const TDatasetFieldDefList&) = delete;

    // One definition per field definition of an open query; a closed query leaves the list empty.
    void fillFromQuery(const DbQuery& query);
    void addDef(const QString& name, int dataType, bool required);
    const TDatasetFieldDef* findDef(const QString& name) const; // ignoring case, first match
    int findDefIndex(const QString& name) const;                // -1 when missing
    const TDatasetFieldDef& defAt(int index) const;
    int defCount() const { return int(m_defs.size()); }
    void clearDefs() { m_defs.clear(); }
    std::unique_ptr<TDatasetFieldDefList> clone() const;

    void saveToStream(TWriter& writer) const;
    void loadFromStream(TReader& reader, bool headerConsumed);

    QUuid classId() const override { return kClassId; }
    void saveToWriter(TWriter& writer) const override { saveToStream(writer); }
    void loadFromReader(TReader& reader, bool headerConsumed) override { loadFromStream(reader, headerConsumed); }

private:
    std::vector<std::unique_ptr<TDatasetFieldDef>> m_defs;
};
