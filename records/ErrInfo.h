#pragma once
// One recorded error and the table (group) it belongs to, with their stream
// forms inside error list files.

#include "foundation/StreamObjectFactory.h"
#include "foundation/StringList.h"
#include "records/DatasetFieldDef.h"
#include "records/FieldMetadata.h"
#include "records/ReadDataField.h"

#include <QString>
#include <functional>
#include <memory>
#include <vector>

class TErrInfo;

class TErrGroup : public TStreamObject {
public:
    static const QUuid kClassId; // {C77E8F95-5C19-489E-8B9A-DFE0A8E3732F}

    TErrGroup() = default;
    explicit TErrGroup(const QString& name) : name(name) {}

    QString displayName() const; // the display name, or the name when it is blank
    // The layout and metadata of the group's records; owned, so that every
    // later file of a run can still write the group.
    void setDefinitions(std::unique_ptr<TDatasetFieldDefList> definitions) { m_definitions = std::move(definitions); }
    void setMetadata(std::unique_ptr<TFieldMetadataList> metadata) { m_metadata = std::move(metadata); }
    const TDatasetFieldDefList* definitions() const { return m_definitions.get(); }
    const TFieldMetadataList* metadata() const { return m_metadata.get(); }

    void addError(TErrInfo* error) { m_errors.push_back(error); }
    int errorCount() const { return int(m_errors.size()); }
    TErrInfo* errorAt(int index) const { return m_errors.at(size_t(index)); }

    QUuid classId() const override { return kClassId; }
    void saveToWriter(TWriter& writer) const override;
    void loadFromReader(TReader& reader, bool headerConsumed) override;

    QString name;
    QString storedDisplayName;
    TStringList fieldMapping;

private:
    std::unique_ptr<TDatasetFieldDefList> m_definitions;
    std::unique_ptr<TFieldMetadataList> m_metadata;
    std::vector<TErrInfo*> m_errors; // not owned
};

// Finds a group by name among those read so far; none when missing.
using TErrGroupFinder = std::function<TErrGroup*(const QString& name)>;

class TErrInfo : public TStreamObject {
public:
    static const QUuid kClassId; // {F3482FD5-7A8D-49D7-8A47-8500E14A18D5}

    TErrInfo() = default;

    // A record read from a file belongs to the error; while recording the
    // caller's record is written at once and not kept.
    void setOwnedRecord(std::unique_ptr<IReadDataRecord> record) { m_record = std::move(record); }
    IReadDataRecord* record() const { return m_record.get(); }
    void setWriteRecord(const IReadDataRecord* record) { m_writeRecord = record; }

    void setGroupFinder(TErrGroupFinder finder) { m_groupFinder = std::move(finder); }

    QUuid classId() const override { return kClassId; }
    void saveToWriter(TWriter& writer) const override;
    // Needs the group finder (set before); attaches the error to its group.
    void loadFromReader(TReader& reader, bool headerConsumed) override;

    QString message;
    TErrGroup* group = nullptr; // not owned
    QString statement;
    int errorType = 0;
    int state = 0;
    QString note;
    int dbKind = -1;
    int errorCode = -1;

private:
    std::unique_ptr<IReadDataRecord> m_record;
    const IReadDataRecord* m_writeRecord = nullptr; // not owned, only while it is written
    TErrGroupFinder m_groupFinder;
};

// The four persisted record and error classes, known to the class-id factory.
void registerRecordStreamClasses();
