#include "dbaccess/CreateTable.h"

TAbsCreateTable::TAbsCreateTable(int kind) : m_kind(kind) {}
TAbsCreateTable::~TAbsCreateTable() = default;
QString TAbsCreateTable::getOpenQuote() const { return {}; }
QString TAbsCreateTable::getCloseQuote() const { return {}; }
QString TAbsCreateTable::getSeparator() const { return QStringLiteral(","); }
QString TAbsCreateTable::getNotNullText() const { return QStringLiteral("NOT NULL"); }
QString TAbsCreateTable::getColumnDefinitions() const { return {}; }
QString TAbsCreateTable::getCreateTableName() const { return {}; }
QString TAbsCreateTable::getPrimaryKeyColumns() const { return {}; }
QString TAbsCreateTable::getPrimaryKeyClause() const { return {}; }
bool TAbsCreateTable::inlinePrimaryKey() const { return true; }
QString TAbsCreateTable::getTableSuffix() const { return {}; }
QString TAbsCreateTable::getCreateTableSQL(TTableMetadata&, TFieldMetadataList&, TIndexMetadataList*) { return {}; }
QString TAbsCreateTable::getAddPrimaryKeySQL(const QString&) const { return {}; }
QString TAbsCreateTable::columnNameForm(const QString& name) const { return name; }
QString TAbsCreateTable::tableNameForm(const QString& name) const { return name; }
QString TAbsCreateTable::tableNameUnquoted(const QString& name) const { return name; }
QString TAbsCreateTable::fullTableName(const QString& name) const { return name; }
QString TAbsCreateTable::columnTypeText(const TFieldMetadata&) const { return {}; }
QString TAbsCreateTable::columnTypeTextWithLength(const TFieldMetadata&, int, int) const { return {}; }
QString TAbsCreateTable::sizePart(const TFieldMetadata&) const { return {}; }
bool TAbsCreateTable::neverNotNull(const QString&) const { return false; }
QString TExcelCreateTable::getTableSuffix() const { return m_csvFile ? QString() : QStringLiteral("$"); }
std::unique_ptr<TAbsCreateTable> createTableGenerator(int kind) { return std::make_unique<TCommonCreateTable>(kind); }
bool hasUsablePrimaryKey(const TIndexMetadataList*) { return false; }
QString indexColumnList(const IIndexMetadata&, const TAbsCreateTable*, bool) { return {}; }
QString uniqueIndexName(const TAbsCreateTable&, const QString& base, const TStringList*) { return base; }
