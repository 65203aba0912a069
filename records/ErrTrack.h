#pragma once
// The error tracker: records a run's errors into error list files of at most
// 300 errors each in the work folder's "error" subfolder, keeps the index
// file "error.errinfo", and reads the files back one at a time.

#include "foundation/ErrorType.h"
#include "foundation/StringList.h"

#include <QString>
#include <QStringList>
#include <exception>
#include <functional>
#include <memory>

class IReadDataRecord;
class QIODevice;
class TAbsDBDumpData;
class TDatasetFieldDefList;
class TErrGroup;
class TErrInfo;
class TErrInfoList;
class TFieldMetadataList;
class TWriter;

// Gives the database error code of an exception (-1 for any other); filled
// by the connection layer at start-up.
using TErrorCodeHook = int (*)(const std::exception& error);
void setErrorCodeHook(TErrorCodeHook hook);
TErrorCodeHook errorCodeHook();
// The hook's result, -1 without a hook.
int errorCodeOf(const std::exception& error);
// The message of an exception of any class.
QString exceptionMessage(const std::exception& error);

class TErrTrack {
public:
    static constexpr int kErrorsPerFile = 300;
    static constexpr int kBufferSize = 81920;

    TErrTrack(TAbsDBDumpData* folder, TErrInfoList* owner); // neither owned
    ~TErrTrack(); // finishes the open file
    TErrTrack(const TErrTrack&) = delete;
    TErrTrack& operator=(const TErrTrack&) = delete;

    // Recording
    void setRunIdentity(const QString& configFileName, const QString& configId);
    void beginTable(const QString& name, const QString& displayName);
    // Not owned; copied into the table's group at its first error.
    void setTableContext(const TDatasetFieldDefList* definitions, const TFieldMetadataList* metadata,
                         const TStringList& fieldMapping);
    // The record is the caller's: its values are written at once and it is not kept.
    // A value that cannot be stored is kept as NULL and named in the message.
    void addError(const QString& message, const QString& statement, int errorCode, int dbKind,
                  const IReadDataRecord* record, TErrorType errorType);
    void addErrorFromException(const std::exception& error, const QString& statement, int dbKind,
                               const IReadDataRecord* record, TErrorType errorType);
    void addErrorNoRecord(const QString& message, const QString& statement, int errorCode, int dbKind,
                          TErrorType errorType);
    void addExceptionNoRecord(const std::exception& error, const QString& statement, int dbKind,
                              TErrorType errorType);
    int totalErrors() const { return m_totalErrors; }

    // Writing failures. The first failed create, write, flush or close of a
    // list file or the index is kept with its path and reason; nothing more is
    // written afterwards (errors are still counted), and the run must stop:
    // going on would lose the record of refused rows. Nothing here throws.
    bool failed() const { return !m_failure.isEmpty(); }
    QString failureMessage() const { return m_failure; }
    // Hands the open list file's buffered errors to the file, so that a killed
    // run leaves them readable; called once per committed transaction. False
    // when writing has failed (now or before).
    bool flush();
    void setErrorCallback(std::function<void(const QString& message, TErrorType errorType)> callback)
    {
        m_errorCallback = std::move(callback);
    }

    // Reading. The index is trusted only when it is whole and names exactly
    // the list files of the folder; otherwise (missing, truncated, damaged or
    // behind a killed run) the folder's own list files are read in their
    // numeric order, each up to its last complete error, and readNotes() says
    // so. Raises when the folder holds neither an index nor list files.
    void openErrorInfo();
    // Numbers beyond the files read load nothing.
    void loadErrorFile(int number);
    void firstErrorFile();
    void priorErrorFile();
    void nextErrorFile();
    void lastErrorFile();
    int currentFileIndex() const { return m_currentFile; }
    int fileCount() const { return m_fileCount; }
    QString configId() const { return m_configId; }
    QString configFileName() const { return m_configFileName; }
    const TStringList& indexLines() const { return m_index; }
    // The list file of the number (1 on), blank beyond the files.
    QString fileName(int number) const;
    // Whether the index was passed over for the folder's own files.
    bool readFromListing() const { return m_fromListing; }
    // What a reader must be told: the index passed over and why, files read in part.
    const QStringList& readNotes() const { return m_notes; }
    // Whether the loaded file was read to its end; else why not.
    bool loadedFileComplete() const { return m_loadedDamage.isEmpty(); }
    QString loadedFileDamage() const { return m_loadedDamage; }
    bool isWriting() const { return m_writer != nullptr; }

    // Finishes the file being written, if any, and writes the index.
    void finishFile();

private:
    void startFile(const TErrGroup* skipped);
    void writeIndex();
    void navigateTo(int number);
    void fail(const QString& message);
    QString pathOf(const QString& name) const;
    QString writeFailureText(const QString& name, const QIODevice* device, const std::exception& error) const;
    QString indexDamage(const QByteArray& bytes) const;
    QStringList listedErrorFiles() const;
    void readFolderListing(const QString& why, const QStringList& files);

    TAbsDBDumpData* m_folder;      // not owned
    TErrInfoList* m_owner;         // not owned
    QString m_tableName;
    QString m_displayName;
    TStringList m_fieldMapping;
    const TDatasetFieldDefList* m_definitions = nullptr; // not owned
    const TFieldMetadataList* m_metadata = nullptr;      // not owned
    TErrGroup* m_currentGroup = nullptr;
    TErrInfo* m_lastError = nullptr;
    std::unique_ptr<QIODevice> m_device;
    std::unique_ptr<TWriter> m_writer; // declared after the device: goes first
    int m_errorsInFile = 0;
    int m_totalErrors = 0;
    int m_fileCount = 0;
    int m_currentFile = 0;
    TStringList m_index;
    QStringList m_files; // the list files read, in order
    QString m_writingName;
    QString m_failure;
    bool m_fromListing = false;
    QStringList m_notes;
    QString m_loadedDamage;
    QString m_configFileName;
    QString m_configId;
    std::function<void(const QString&, TErrorType)> m_errorCallback;
};
