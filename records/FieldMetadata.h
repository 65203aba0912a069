#pragma once
// What the system knows of a table's columns: name, type name, length,
// precision, scale and not-null flag, in an ordered owned list with a text
// rendering and a stream form. Operations keep their fixed slot order.

#include <QString>
#include <QUuid>
#include <functional>
#include <memory>
#include <vector>

class DbQuery;
class TReader;
class TStringList;
class TWriter;
class TFieldMetadata;

class IFieldMetadata {
public:
    virtual ~IFieldMetadata() = default;
    virtual int getLength() const = 0;
    virtual QString getName() const = 0;
    virtual int getPrecision() const = 0;
    virtual int getScale() const = 0;
    virtual QString getTypeName() const = 0;
    virtual bool getNotNull() const = 0;
    virtual void setLength(int value) = 0;
    virtual void setName(const QString& value) = 0;
    virtual void setPrecision(int value) = 0;
    virtual void setScale(int value) = 0;
    virtual void setTypeName(const QString& value) = 0;
    virtual void setNotNull(bool value) = 0;
    virtual void loadFromStream(TReader& reader) = 0;   // resets to the defaults first
    virtual void saveToStream(TWriter& writer) const = 0;
    virtual std::unique_ptr<TFieldMetadata> clone() const = 0;
};

class TFieldMetadata : public IFieldMetadata {
public:
    int getLength() const override { return m_length; }
    QString getName() const override { return m_name; }
    int getPrecision() const override { return m_precision; }
    int getScale() const override { return m_scale; }
    QString getTypeName() const override { return m_typeName; }
    bool getNotNull() const override { return m_notNull; }
    void setLength(int value) override { m_length = value; }
    void setName(const QString& value) override { m_name = value; }
    void setPrecision(int value) override { m_precision = value; }
    void setScale(int value) override { m_scale = value; }
    void setTypeName(const QString& value) override { m_typeName = value; }
    void setNotNull(bool value) override { m_notNull = value; }
    void loadFromStream(TReader& reader) override;
    void saveToStream(TWriter& writer) const override;
    std::unique_ptr<TFieldMetadata> clone() const override;

private:
    QString m_name;
    QString m_typeName;
    bool m_notNull = true;
    int m_precision = 0; // -1: absent
    int m_length = 0;    // -1: absent
    int m_scale = 0;     // -1: absent
};

// Type name to store for a raw type text of a column-metadata row.
using TypeNameMapper = std::function<QString(int kind, const QString& rawTypeName)>;
// Scope class (0..5) of a type name for a kind, from the type mapping.
using TFieldScopeLookup = std::function<int(int kind, const QString& typeName)>;

class IFieldMetadataList {
public:
    virtual ~IFieldMetadataList() = default;
    virtual TFieldMetadata* getItem(int index) const = 0;
    virtual TFieldMetadata* findByName(const QString& name) const = 0;
    virtual int getCount() const = 0;
    virtual void loadFromStream(TReader& reader, bool headerAlreadyRead) = 0;
    virtual void saveToStream(TWriter& writer) const = 0;
    virtual void add(std::unique_ptr<TFieldMetadata> item) = 0;           // a null item is ignored
    virtual void clear() = 0;
};

class TFieldMetadataList : public IFieldMetadataList {
public:
    static const QUuid kClassId; // {A190D2EB-0D12-4E80-9390-4C5E64E768BF}

    TFieldMetadataList() = default;
    // One item per field definition of an open query: type name from the map
    // (field type enumerator name = type name), length and scale -1.
    TFieldMetadataList(const DbQuery& query, const TStringList& typeNameMap);
    TFieldMetadataList(const TFieldMetadataList&) = delete;
    TFieldMetadataList& operator=(const TFieldMetadataList&) = delete;

    TFieldMetadata* getItem(int index) const override;
    TFieldMetadata* findByName(const QString& name) const override;
    int getCount() const override { return int(m_items.size()); }
    void loadFromStream(TReader& reader, bool headerAlreadyRead) override;
    void saveToStream(TWriter& writer) const override;
    void add(std::unique_ptr<TFieldMetadata> item) override;
    void clear() override { m_items.clear(); }

    // Appends one item per row of a column-metadata result, from its current
    // row to the end. scopeOf gives the size class for rows with "MySQL_Type";
    // without it those rows keep the size parts the catalogue reported.
    void loadFromMetadataRows(DbQuery& rows, int kind, const TypeNameMapper& mapper,
                              const TFieldScopeLookup& scopeOf = {});
    std::unique_ptr<TFieldMetadataList> clone() const;
    QString ToString() const;

private:
    std::vector<std::unique_ptr<TFieldMetadata>> m_items;
};
