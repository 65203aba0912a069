#pragma once
// Abstract interfaces through which the shell and the wizard reach jobs,
// connection configurations, mappings, connections, table writers, work
// folders and progress displays. Operations are declared in their fixed slot
// order; concrete classes are created only through registered creators.

#include "platform/db/FieldType.h"

#include <QString>

#include <functional>
#include <memory>

class QIODevice;
class QObject;
class QWidget;

class TStringList;
class TKwStringsComponent;

// Types of later units, referenced here only by pointer or reference.
class TUIFrameList;          // page list of the wizard
class IUIContext;            // wizard context
class TTableMetadata;
class TTableMetadataList;
class TFieldMetadataList;
class TIndexMetadataList;
class TDatasetFieldDefList;  // field definitions of a result
class IReadDataRecord;       // record reader positioned on a row
class TErrInfoList;          // a run's error list
class DbQuery;               // open query of the data-access layer
class DbParamList;           // named parameters of a statement

class IDBConnection;
class IImportTable;
class TAbsDBDumpData;
class TAbsConvertCreator;
class TAbsDBConnectConfigCreator;

class ITitled {
public:
    virtual ~ITitled() = default;
    virtual QString getTitle() const = 0;        // the title key
    virtual QString getDisplayTitle() const = 0; // the localised title
};

class ISubTitle : public ITitled {
public:
    virtual ITitled* getOwner() const = 0; // the owning titled object, or none
};

// A wizard page. The step index is plain data so that page lists stamp it
// without a virtual call.
class IUIFrame : public ISubTitle {
public:
    virtual QWidget* getControl() const = 0;       // the visual frame
    virtual bool isStartPage() const = 0;
    virtual bool canCancel() const = 0;
    virtual bool canNext() const = 0;
    virtual bool canPrior() const = 0;
    virtual bool canFinish() const = 0;
    virtual void setCanCancel(bool value) = 0;
    virtual void setCanNext(bool value) = 0;
    virtual void setCanPrior(bool value) = 0;
    virtual void setCanFinish(bool value) = 0;
    virtual bool isFinishPage() const = 0;
    virtual void setFinishPage(bool value) = 0;
    virtual bool enter(IUIContext* context) = 0;   // stores the context, then doEnter
    virtual bool doEnter() = 0;

    int stepIndex = -1;
};

class IDBConnectConfig : public ITitled {
public:
    virtual int getDBType() const = 0;                          // database kind
    virtual TUIFrameList* getPages() = 0;
    virtual TStringList* getSettings() = 0;                     // owned name=value settings
    virtual QString getPublicSettingsText() const = 0;          // without the password
    virtual void loadPassword(const TStringList& lines) = 0;
    virtual std::unique_ptr<IDBConnection> createConnection() = 0; // with the own settings
    virtual std::unique_ptr<IDBConnection> createConnectionWith(const TStringList& settings) = 0;
};

class IConvertMapping : public ITitled {
public:
    virtual TUIFrameList* getPages() = 0;
    virtual TKwStringsComponent* getMappingTable() = 0;
};

// A migration job. The setters pass ownership: the job destroys what it holds.
class IDBConvert : public ITitled {
public:
    virtual IDBConnectConfig* getSourceConfig() const = 0;
    virtual IDBConnectConfig* getDestConfig() const = 0;
    virtual IConvertMapping* getMapping() const = 0;
    virtual void setSourceConfig(std::unique_ptr<IDBConnectConfig> config) = 0;
    virtual void setDestConfig(std::unique_ptr<IDBConnectConfig> config) = 0;
    virtual IUIFrame* getOwnPages() = 0;                                       // one page or none
    virtual void saveConfig(TKwStringsComponent& table, bool withoutPasswords) = 0;
    virtual void loadConfig(const TKwStringsComponent& table) = 0;
    virtual void loadConnectPasswords(const TKwStringsComponent& table) = 0;
    virtual void executeConvert(IUIContext* context, bool structureOnly, bool quiet) = 0;
    virtual void executeImport(TAbsDBDumpData* folder, IUIContext* context, int reserved) = 0;
    virtual void reservedOperation(QObject* first, QObject* second, int number, const QString& text) = 0;
    virtual void executeExport(TAbsDBDumpData* folder, bool flag, int reserved, IUIContext* context) = 0;
    virtual void addRunPage(ITitled* owner, int operation, const QString& dumpFileName,
                            TUIFrameList* pages) = 0;
    virtual void applyRunOptions() = 0;
};

// Callbacks a source connection drives while it reads one table; each is bound
// to an object of the caller.
using TBeginTableCallback = std::function<bool(int sourceKind, TDatasetFieldDefList& fieldDefs,
                                               TFieldMetadataList& fields, TIndexMetadataList* indexes,
                                               TErrInfoList* errors)>;
using TRecordCallback = std::function<bool(IReadDataRecord& record, TErrInfoList* errors)>;

// One database of one kind. Objects returned by the list operations belong
// to the caller; "none" is a null pointer.
class IDBConnection {
public:
    virtual ~IDBConnection() = default;
    virtual int getDBType() const = 0;
    virtual TStringList* getStringList() = 0;                                            // owned
    virtual void execSQL(const QString& sql) = 0;
    virtual std::unique_ptr<DbQuery> openSQL(const QString& sql) = 0;
    virtual QString getSQLValue(const QString& sql) = 0;
    virtual std::unique_ptr<TStringList> getSQLList(const QString& sql) = 0;
    virtual void execSQLWithParams(const QString& sql, const DbParamList* params) = 0;
    virtual std::unique_ptr<DbQuery> openSQLWithParams(const QString& sql, const DbParamList* params) = 0;
    virtual QString getSQLValueWithParams(const QString& sql, const DbParamList* params) = 0;
    virtual std::unique_ptr<TStringList> getSQLListWithParams(const QString& sql,
                                                              const DbParamList* params) = 0;
    virtual std::unique_ptr<TStringList> getDatabaseList() = 0;
    virtual std::unique_ptr<TTableMetadataList> getTableList() = 0;
    virtual std::unique_ptr<TFieldMetadataList> getFieldList(const QString& table) = 0;
    virtual std::unique_ptr<TIndexMetadataList> getIndexList(const QString& table) = 0;
    virtual bool createTable(TTableMetadata& table, TFieldMetadataList& fields,
                             TIndexMetadataList* indexes) = 0;
    virtual QString copyTableStructure(const QString& table) = 0;
    virtual void dropTable(const QString& table) = 0;
    virtual std::unique_ptr<DbParamList> createParams(const QString& sql) = 0;
    // fieldMap: source=destination lines; failures receives "index=field name" lines.
    virtual void findFailingFields(const QString& table, const TStringList& fieldMap, TStringList& failures,
                                   IReadDataRecord& record) = 0;
    virtual void setConnectParams(const TStringList& settings) = 0;
    virtual bool connect(QString& failureText, bool destination) = 0;
    virtual bool openConnect(QString& failureText, int& errorCode, bool destination) = 0;
    virtual void closeConnect() = 0;
    virtual bool isConnected() const = 0;
    virtual bool readTable(const QString& table, const TStringList& fieldNames,
                           const TBeginTableCallback& onBeginTable, const TRecordCallback& onRecord,
                           bool structureOnly, TErrInfoList* errors) = 0;
    virtual bool readCustomSQL(const QString& sourceName, const QString& destName, const QString& sql,
                               TStringList& fieldMap, const TBeginTableCallback& onBeginTable,
                               const TRecordCallback& onRecord, TErrInfoList* errors) = 0;
    virtual void deleteAllRows(const QString& table, TErrInfoList* errors) = 0;
    virtual std::unique_ptr<IImportTable> createImportTable() = 0;
    virtual bool isCsvSource() const = 0;
};

// Writes the rows of one source table into one destination table.
class IImportTable {
public:
    virtual ~IImportTable() = default;
    // fieldMap: destination=source lines, not owned; tableCreated is set when
    // this call created the table.
    virtual bool prepare(const QString& destTable, TStringList* fieldMap, int sourceKind,
                         TFieldMetadataList* sourceFields, TDatasetFieldDefList* sourceFieldDefs,
                         TIndexMetadataList* indexes, bool dropDestTable, bool clearDestTable,
                         bool& tableCreated, TErrInfoList* errors, bool keepTable) = 0;
    virtual bool writeRecord(int mode, IReadDataRecord& record, TErrInfoList* errors) = 0;
    virtual void finish(TErrInfoList* errors) = 0;
};

// Data every table writer keeps; implements none of the operations.
class TAbsImportTable : public IImportTable {
protected:
    QString m_tableName;                      // as configured, without time suffix
    TStringList* m_fieldMap = nullptr;        // not owned
    TIndexMetadataList* m_indexList = nullptr; // not owned
};

// The folder a run writes its files into. Names inside it are a sub-folder
// and a file name.
class TAbsDBDumpData {
public:
    virtual ~TAbsDBDumpData() = default;
    virtual std::unique_ptr<QIODevice> createFile(const QString& subFolder, const QString& name) = 0;
    // None when the file does not exist.
    virtual std::unique_ptr<QIODevice> openFile(const QString& subFolder, const QString& name) = 0;
    virtual bool fileExists(const QString& subFolder, const QString& name) = 0;
    // Paths relative to the folder; none when listing fails.
    virtual std::unique_ptr<TStringList> listFiles() = 0;
    virtual void packFolder(const QString& packageName) = 0;
    virtual void setFolder(const QString& path) = 0;
    virtual void extractPackage(const QString& packageName) = 0;
    virtual QString getFolder() const = 0;
};

class IShowProcess {
public:
    virtual ~IShowProcess() = default;
    virtual void startProgress(int minimum, int maximum) = 0;
    virtual void setProgress(int position, const QString& text) = 0;
    virtual void setCaption(const QString& text) = 0;
    virtual void setBottomText(const QString& text) = 0;
    virtual void showStep(const QString& text) = 0;
    virtual void addLine(const QString& text) = 0;
    virtual void finishProgress() = 0;
};

// The converter registry. Created objects belong to the caller; "none" is a
// null pointer.
class IDBConvertManager {
public:
    virtual ~IDBConvertManager() = default;
    virtual std::unique_ptr<IDBConvert> createConvert(const QString& name) = 0;
    virtual std::unique_ptr<IDBConnectConfig> createConnectConfig(const QString& name) = 0;
    virtual void registerConnectConfigCreator(std::unique_ptr<TAbsDBConnectConfigCreator> creator) = 0;
    virtual void registerConvertCreator(std::unique_ptr<TAbsConvertCreator> creator) = 0;
    virtual const TStringList& connectConfigNames() const = 0;                                        // sorted
    virtual const TStringList& convertNames() const = 0;                                              // sorted
    virtual QString connectConfigDescription(const QString& name) const = 0;
    // Type mapping: scope class 0..5 of a destination type name for a kind.
    virtual int getFieldScope(int kind, const QString& typeName) = 0;
    // Destination type name for a field type; never empty.
    virtual QString getFieldTypeName(int kind, TFieldType fieldType) = 0;
    // Clamps precision and scale of an AutoDetect type; true when one changed.
    virtual bool autoDetectLen(int kind, const QString& typeName, int& precision, int& scale) = 0;
};
