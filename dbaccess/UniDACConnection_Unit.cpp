#include "dbaccess/UniDACConnection_Unit.h"

#include "dbaccess/ConnectionResorceList_UniDac.h"
#include "dbaccess/CreateTable.h"
#include "platform/db/DbConnection.h"
#include "platform/db/DbQuery.h"
#include "records/FieldMetadata.h"
#include "records/IndexMetadata.h"
#include "records/TableMetadata.h"

void setLoginDialogHook(TLoginDialogHook) {}
void installDbErrorCodeHook() {}
int dbErrorCodeOf(const std::exception&) { return -1; }
QString primaryKeyConstraintName(int, const QString& table, const TStringList&) { return table; }

TUniDAC_Connection::TUniDAC_Connection(int kind)
    : TAbsDBConnection(kind), m_connection(std::make_unique<DbConnection>()),
      m_resources(std::make_unique<TConnectionResorceList_UniDac>(this)), m_generator(createTableGenerator(kind)),
      m_createdIndexNames(std::make_unique<TStringList>())
{
}
TUniDAC_Connection::~TUniDAC_Connection() = default;
void TUniDAC_Connection::execSQL(const QString&) {}
std::unique_ptr<DbQuery> TUniDAC_Connection::openSQL(const QString&) { return nullptr; }
QString TUniDAC_Connection::getSQLValue(const QString&) { return {}; }
std::unique_ptr<TStringList> TUniDAC_Connection::getSQLList(const QString&) { return nullptr; }
void TUniDAC_Connection::execSQLWithParams(const QString&, const DbParamList*) {}
std::unique_ptr<DbQuery> TUniDAC_Connection::openSQLWithParams(const QString&, const DbParamList*) { return nullptr; }
QString TUniDAC_Connection::getSQLValueWithParams(const QString&, const DbParamList*) { return {}; }
std::unique_ptr<TStringList> TUniDAC_Connection::getSQLListWithParams(const QString&, const DbParamList*) { return nullptr; }
std::unique_ptr<TStringList> TUniDAC_Connection::getDatabaseList() { return nullptr; }
std::unique_ptr<TTableMetadataList> TUniDAC_Connection::getTableList() { return nullptr; }
std::unique_ptr<TFieldMetadataList> TUniDAC_Connection::getFieldList(const QString&) { return std::make_unique<TFieldMetadataList>(); }
std::unique_ptr<TIndexMetadataList> TUniDAC_Connection::getIndexList(const QString&) { return std::make_unique<TIndexMetadataList>(); }
bool TUniDAC_Connection::createTable(TTableMetadata&, TFieldMetadataList&, TIndexMetadataList*) { return false; }
QString TUniDAC_Connection::copyTableStructure(const QString&) { return {}; }
void TUniDAC_Connection::dropTable(const QString&) {}
void TUniDAC_Connection::findFailingFields(const QString&, const TStringList&, TStringList&, IReadDataRecord&) {}
void TUniDAC_Connection::setConnectParams(const TStringList&) {}
bool TUniDAC_Connection::connect(QString&, bool) { return false; }
bool TUniDAC_Connection::openConnect(QString&, int&, bool) { return false; }
void TUniDAC_Connection::closeConnect() {}
bool TUniDAC_Connection::isConnected() const { return false; }
bool TUniDAC_Connection::readTable(const QString&, const TStringList&, const TBeginTableCallback&, const TRecordCallback&, bool, TErrInfoList*) { return false; }
bool TUniDAC_Connection::readCustomSQL(const QString&, const QString&, const QString&, TStringList&, const TBeginTableCallback&, const TRecordCallback&, TErrInfoList*) { return false; }
void TUniDAC_Connection::deleteAllRows(const QString&, TErrInfoList*) {}
// The importer unit is not in the tree yet.
std::unique_ptr<IImportTable> TUniDAC_Connection::createImportTable() { return nullptr; }
bool TUniDAC_Connection::isCsvSource() const { return false; }
std::unique_ptr<DbQuery> TUniDAC_Connection::createQuery(bool) { return nullptr; }
bool TUniDAC_Connection::tryExecSQL(const QString&, int, TErrInfoList*) { return false; }
bool TUniDAC_Connection::tryExecFormat(const QString&, const QStringList&, TErrInfoList*, int) { return false; }
bool TUniDAC_Connection::createTableWithKey(TTableMetadata&, TFieldMetadataList&, TErrInfoList*, TIndexMetadataList*, TAbsCreateTable&) { return false; }
bool TUniDAC_Connection::tableExists(const QString&) { return false; }
std::unique_ptr<TTableMetadata> TUniDAC_Connection::getTableMetadata(const QString&) { return nullptr; }
std::unique_ptr<TStringList> TUniDAC_Connection::getIndexNames(const QString&) { return nullptr; }
QString TUniDAC_Connection::metadataTableName(const QString& table) const { return table; }
int TUniDAC_Connection::getMultiCharLength() { return 2; }
void TUniDAC_Connection::findFailingFieldsDestToSource(const QString&, const TStringList&, TStringList&, IReadDataRecord&) {}
