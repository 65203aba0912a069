#pragma once
// The run steps of a copy job: connect both databases, then copy the tables
// of "Config/Tables" one at a time through the per-table driver.

#include "migration/ExecProcess.h"

#include "foundation/ErrorType.h"

#include <QString>
#include <QStringList>

#include <memory>

class IUIContext;
class TAbsDBDumpData;
class TCopyConvert;
class TCopyMapping;
class TDoExport_CopyConvert;
class TErrInfoList;
class TStringList;

class TExecProcess_Convert : public TExecProcess {
public:
    // context: not owned, may be none; folder: the run's work folder.
    TExecProcess_Convert(IUIContext* context, TCopyConvert& job, std::unique_ptr<TAbsDBDumpData> folder,
                         bool structureOnly);
    ~TExecProcess_Convert() override;

    bool connectDatabases() override;
    bool beginRun() override;
    void endRun() override;
    int tableCount() const override;
    bool copyTable(int index) override;
    void afterTable(int index) override;
    void finishTables() override {}
    QString tableStartText(int index) const override;
    QString tableEndText(int index) const override;
    QString summaryText() const override;
    int operationCode() const override;

    IUIContext* context() const { return m_context; }
    TCopyConvert& job() const { return m_job; }
    TAbsDBDumpData* workFolder() const { return m_folder.get(); }
    // The error list lives from createErrorList to releaseErrorList.
    TErrInfoList* createErrorList();
    TErrInfoList* errorList() const { return m_errors.get(); }
    void releaseErrorList();
    TDoExport_CopyConvert* driver() const { return m_driver.get(); }
    // Why connectDatabases failed, and the kind of the database that failed.
    const QString& connectFailure() const { return m_connectFailure; }
    int failedKind() const { return m_failedKind; }

    // Every error the tracker records, so that each table's report counts
    // them all, whatever their type.
    void noteError(TErrorType type);
    // Tables in which something failed that keeps them from being copied,
    // and tables copied with refused rows or cut short by a stop.
    const QStringList& failedTables() const { return m_failedTables; }
    const QStringList& incompleteTables() const { return m_incompleteTables; }

    int createdTables = 0;
    int copiedTables = 0;

private:
    QString tableLine(int index) const;
    void copyCustomSQL();
    void copySourceTable();
    // Field matches for a table entry that has none: every source field
    // under its own name.
    std::unique_ptr<TStringList> allFieldsMatch(const QString& source);

    IUIContext* m_context; // not owned
    TCopyConvert& m_job;
    TCopyMapping* m_mapping; // not owned: the job's
    std::unique_ptr<TAbsDBDumpData> m_folder;
    // Declared after the folder: the tracker finishes its files into it.
    std::unique_ptr<TErrInfoList> m_errors;
    std::unique_ptr<TDoExport_CopyConvert> m_driver;
    void beginTableReport(const QString& name);
    void endTableReport();

    QString m_currentSource;
    int m_tableErrors = 0;      // of the table being copied
    bool m_tableFailed = false; // an error of it that is more than a refused row
    bool m_inTable = false;
    int m_tablesStarted = 0;
    QStringList m_failedTables;
    QStringList m_incompleteTables;
    QString m_connectFailure;
    int m_failedKind = -1;
    bool m_structureOnly;
    bool m_clearSourceAfterFinish = false; // the last read copied every row
};
