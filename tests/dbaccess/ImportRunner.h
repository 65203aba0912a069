#pragma once
// Copies one source table into MariaDB the way a migration does: readTable on
// the source connection drives the destination connection's importer through
// prepare, writeRecord and finish, with a real error list in a temporary work
// folder.

#include "foundation/StringList.h"
#include "shell/IImportTable.h"

#include <QString>
#include <QTemporaryDir>

#include <functional>
#include <memory>

class IReadDataRecord;
class TErrInfoList;
class TPlainFolderData;
class TDBConnection;
class TDBImportTable;

struct TImportRun {
    TImportRun();
    ~TImportRun();

    // Inputs. An empty field map maps every source column to the same name.
    TStringList fieldMap; // destination=source
    bool dropDestTable = true;
    bool clearDestTable = false;
    bool keepTable = false;
    bool withIndexes = true;
    TWriteMode mode = TWriteMode::Insert;
    // Called after every written row with its 1-based number.
    std::function<void(int row, TDBImportTable& importer)> afterRow;

    // Results.
    bool prepared = false;
    bool tableCreated = false;
    bool readOk = false;
    int rowsWritten = 0;
    int rowsFailed = 0;
    std::unique_ptr<TDBImportTable> importer; // kept after the run for inspection

    QTemporaryDir workFolder;
    std::unique_ptr<TPlainFolderData> folder;
    std::unique_ptr<TErrInfoList> errors;

    // Finishes the error files (the list is destroyed) so that they can be read.
    void closeErrors();
    // "quenlor-errors show <work folder>" output.
    QString errorReport();
};

// Reads sourceTable and writes it into destTable; returns readTable's result.
bool copyTable(TDBConnection& source, const QString& sourceTable, TDBConnection& dest,
               const QString& destTable, TImportRun& run);

// Lines the current-progress object showed while the capture lived.
class TShownLines {
public:
    TShownLines();
    ~TShownLines();
    QStringList lines;

private:
    class Display;
    std::unique_ptr<Display> m_display;
};

// The first column of every row of a MariaDB query, as text ("NULL" for NULL).
QStringList mysqlColumn(TDBConnection& connection, const QString& sql);
QString mysqlValue(TDBConnection& connection, const QString& sql);

// Process-wide state the importer tests start from: started shell, English
// texts, built-in option defaults, naming options with quoted names (the
// stand-in keeps upper-case names), no display.
void startImporterTest();
