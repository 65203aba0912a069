#pragma once
// Index metadata: one index (name, primary, unique, ordered columns with sort
// order, skipped flag) and an owned list of them, read from the "Indexes" and
// "IndexColumns" metadata results of a table.

#include <QString>
#include <memory>
#include <vector>

class DbQuery;

class IIndexField {
public:
    IIndexField() = default;
    virtual ~IIndexField() = default;

    QString destName;   // empty until the job maps the source column
    QString sourceName; // as read
    bool descending = false;
};

class TIndexField : public IIndexField {};

class IIndexMetadata {
public:
    IIndexMetadata() = default;
    virtual ~IIndexMetadata() = default;
    IIndexMetadata(const IIndexMetadata&) = delete;
    IIndexMetadata& operator=(const IIndexMetadata&) = delete;

    virtual std::unique_ptr<IIndexField> createField() const;

    int fieldCount() const { return int(m_fields.size()); }
    IIndexField* fieldAt(int index) const;
    IIndexField* addField(); // a new column from createField, appended
    // Not skipped, at least one column, every destName non-blank.
    bool allFieldsMapped() const;
    // Neither skipped, same column count, destNames equal position by position ignoring case.
    bool sameColumnsAs(const IIndexMetadata& other) const;

    QString name;
    bool isPrimary = false;
    bool isUnique = false;
    bool skipped = false; // a skipped index is never created

private:
    std::vector<std::unique_ptr<IIndexField>> m_fields;
};

class TIndexMetadata : public IIndexMetadata {
public:
    std::unique_ptr<IIndexField> createField() const override { return std::make_unique<TIndexField>(); }
};

class IIndexMetadataList {
public:
    IIndexMetadataList() = default;
    virtual ~IIndexMetadataList() = default;
    IIndexMetadataList(const IIndexMetadataList&) = delete;
    IIndexMetadataList& operator=(const IIndexMetadataList&) = delete;

    virtual std::unique_ptr<IIndexMetadata> createIndex() const;

    int count() const { return int(m_items.size()); }
    IIndexMetadata* indexAt(int index) const;
    void add(std::unique_ptr<IIndexMetadata> index); // a null item is ignored
    IIndexMetadata* primaryIndex() const;            // the first primary index, or none

private:
    std::vector<std::unique_ptr<IIndexMetadata>> m_items;
};

class TIndexMetadataList : public IIndexMetadataList {
public:
    std::unique_ptr<IIndexMetadata> createIndex() const override { return std::make_unique<TIndexMetadata>(); }
};

// The indexes of one table: every row of indexRows from its current position,
// with the columns found in indexColumnRows (expected grouped by index, in
// column order).
std::unique_ptr<TIndexMetadataList> readIndexList(DbQuery& indexRows, DbQuery& indexColumnRows, int kind,
                                                  const QString& tableName);
