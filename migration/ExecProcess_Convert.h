#pragma once
// The run steps of a copy job: connect both databases, then copy the tables
// of "Config/Tables" one at a time through the per-table driver.

#include "migration/ExecProcess.h"

#include <QString>

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
    QString m_currentSource;
    QString m_connectFailure;
    int m_failedKind = -1;
    bool m_structureOnly;
    bool m_clearSourceAfterFinish = false; // the last read copied every row
    int m_errorsBeforeTable = 0;           // the tracker's total when the table began
};
