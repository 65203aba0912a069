#pragma once
// Statement texts that define a destination table: the create-table statement
// with its column definitions and primary key, the separate add-primary-key
// statement, column type texts for alter statements, and index names. One
// generator per connection, by the connection's kind; names are formed by the
// run's naming options (dbOption()).

#include <QString>

#include <memory>

class IIndexMetadata;
class TFieldMetadata;
class TFieldMetadataList;
class TIndexMetadataList;
class TStringList;
class TTableMetadata;

class TAbsCreateTable {
public:
    explicit TAbsCreateTable(int kind);
    virtual ~TAbsCreateTable();
    TAbsCreateTable(const TAbsCreateTable&) = delete;
    TAbsCreateTable& operator=(const TAbsCreateTable&) = delete;

    virtual QString getOpenQuote() const;
    virtual QString getCloseQuote() const;
    virtual QString getSeparator() const;
    virtual QString getNotNullText() const;
    virtual QString getColumnDefinitions() const; // of the stored field list
    virtual QString getCreateTableName() const;   // fullTableName of the stored table
    virtual QString getPrimaryKeyColumns() const; // empty without a usable primary key
    virtual QString getPrimaryKeyClause() const;
    virtual bool inlinePrimaryKey() const;        // the key goes into the create statement
    virtual QString getTableSuffix() const;
    // stores the three inputs (not owned) for the following calls.
    virtual QString getCreateTableSQL(TTableMetadata& table, TFieldMetadataList& fields,
                                      TIndexMetadataList* indexes);
    // for the table, fields and indexes of the last getCreateTableSQL.
    virtual QString getAddPrimaryKeySQL(const QString& constraintName) const;

    int kind() const { return m_kind; }

    // Name forms, by the naming options of the run.
    QString columnNameForm(const QString& name) const;
    QString tableNameForm(const QString& name) const;
    QString tableNameUnquoted(const QString& name) const;
    QString fullTableName(const QString& name) const; // with the time suffix when set

    // " TYPE(size) ": a blank, type name, size part, a blank; never NOT NULL.
    QString columnTypeText(const TFieldMetadata& field) const;
    QString columnTypeTextWithLength(const TFieldMetadata& field, int precision, int length) const;
    // "(n)", "(p,s)" or empty, by the scope class of the field's type name.
    QString sizePart(const TFieldMetadata& field) const;
    // The type name is listed in the kind's "notModifyFieldType" section.
    bool neverNotNull(const QString& typeName) const;
    // The not-null part of a column definition: NOT NULL or empty.
    QString notNullPart(const TFieldMetadata& field) const;

protected:
    const TTableMetadata* table() const { return m_table; }
    const TFieldMetadataList* fields() const { return m_fields; }
    const TIndexMetadataList* indexes() const { return m_indexes; }

private:
    QString quotedName(const QString& name) const;
    QString nameForm(const QString& name) const;

    int m_kind;
    TTableMetadata* m_table = nullptr;       // not owned
    TFieldMetadataList* m_fields = nullptr;  // not owned
    TIndexMetadataList* m_indexes = nullptr; // not owned
};

class TCommonCreateTable : public TAbsCreateTable {
public:
    using TAbsCreateTable::TAbsCreateTable;
};

class TMySQLCreateTable : public TCommonCreateTable {
public:
    using TCommonCreateTable::TCommonCreateTable;
    QString getOpenQuote() const override { return QStringLiteral("`"); }
    QString getCloseQuote() const override { return QStringLiteral("`"); }
};

class TOracleCreateTable : public TCommonCreateTable {
public:
    using TCommonCreateTable::TCommonCreateTable;
    QString getOpenQuote() const override { return QStringLiteral("\""); }
    QString getCloseQuote() const override { return QStringLiteral("\""); }
    bool inlinePrimaryKey() const override { return false; }
};

class TAccessCreateTable : public TCommonCreateTable {
public:
    using TCommonCreateTable::TCommonCreateTable;
    QString getOpenQuote() const override { return QStringLiteral("["); }
    QString getCloseQuote() const override { return QStringLiteral("]"); }
};

class TExcelCreateTable : public TAccessCreateTable {
public:
    using TAccessCreateTable::TAccessCreateTable;
    // Worksheets carry "$"; comma-separated files do not.
    QString getTableSuffix() const override;
    bool csvFile() const { return m_csvFile; }
    void setCsvFile(bool on) { m_csvFile = on; }

private:
    bool m_csvFile = false;
};

// The generator class that serves a kind.
std::unique_ptr<TAbsCreateTable> createTableGenerator(int kind);

// The list exists and its primary index exists, is not skipped and has a column.
bool hasUsablePrimaryKey(const TIndexMetadataList* indexes);
// "col ASC,col2 DESC": destination names (source names when asked), in
// column-name form when a generator is given.
QString indexColumnList(const IIndexMetadata& index, const TAbsCreateTable* generator, bool useSourceNames);
// base, then base1, base2 ... until not among known (ignoring case); Oracle
// names are cut to 30 characters.
QString uniqueIndexName(const TAbsCreateTable& generator, const QString& base, const TStringList* known);
