#include "ImportRunner.h"

#include "DbaccessTestSupport.h"
#include "dbaccess/DBConnection.h"
#include "dbaccess/DBImportTable.h"
#include "foundation/Exception.h"
#include "platform/db/DbQuery.h"
#include "records/DatasetFieldDef.h"
#include "records/ErrInfoList.h"
#include "records/ErrTrack.h"
#include "records/ErrorFileReport.h"
#include "records/FieldMetadata.h"
#include "records/IndexMetadata.h"
#include "records/PlainFolderData.h"
#include "shell/CacheCurrentShowProcess.h"
#include "shell/DBOption.h"
#include "shell/Startup.h"

#include <QTextStream>

TImportRun::TImportRun()
    : folder(std::make_unique<TPlainFolderData>(workFolder.path())),
      errors(std::make_unique<TErrInfoList>(folder.get()))
{
}

TImportRun::~TImportRun() = default;

void TImportRun::closeErrors() { errors.reset(); }

QString TImportRun::errorReport()
{
    closeErrors();
    QString out, err;
    QTextStream o(&out), e(&err);
    const int status = runQuenlorErrors({QStringLiteral("quenlor-errors"), QStringLiteral("show"), workFolder.path()}, o, e);
    o.flush();
    return status == 0 ? out : QStringLiteral("quenlor-errors failed: ") + err;
}

bool copyTable(TDBConnection& source, const QString& sourceTable, TDBConnection& dest,
               const QString& destTable, TImportRun& run)
{
    std::unique_ptr<TFieldMetadataList> columns = source.getFieldList(sourceTable);
    TStringList names;
    for (int i = 0; i < columns->getCount(); ++i)
        names.add(columns->getItem(i)->getName());
    if (run.fieldMap.isEmpty())
        for (const QString& name : names.lines())
            run.fieldMap.add(name + u'=' + name);

    std::unique_ptr<IImportTable> made = dest.createImportTable();
    run.importer.reset(dynamic_cast<TDBImportTable*>(made.get()));
    if (!run.importer)
        throw Exception(QStringLiteral("createImportTable did not give the importer"));
    made.release();

    run.errors->tracker().beginTable(sourceTable, destTable);
    const auto onBegin = [&](int kind, TDatasetFieldDefList& defs, TFieldMetadataList& fields,
                             TIndexMetadataList* indexes, TErrInfoList* errors) {
        run.errors->tracker().setTableContext(&defs, &fields, run.fieldMap);
        if (indexes)
            for (int i = 0; i < indexes->count(); ++i)
                for (int f = 0; f < indexes->indexAt(i)->fieldCount(); ++f) {
                    IIndexField* field = indexes->indexAt(i)->fieldAt(f);
                    field->destName = field->sourceName; // as the job's field matches would
                }
        const TImportTableSource source{&run.fieldMap, kind, &fields, &defs, run.withIndexes ? indexes : nullptr};
        const TImportTableOptions options{run.dropDestTable, run.clearDestTable, run.keepTable};
        run.prepared = run.importer->prepare(destTable, source, options, run.tableCreated, errors);
        return run.prepared;
    };
    const auto onRecord = [&](IReadDataRecord& record, TErrInfoList* errors) {
        const bool ok = run.importer->writeRecord(run.mode, record, errors);
        ++(ok ? run.rowsWritten : run.rowsFailed);
        if (run.afterRow)
            run.afterRow(run.rowsWritten + run.rowsFailed, *run.importer);
        return ok;
    };
    try {
        run.readOk = source.readTable(sourceTable, names, onBegin, onRecord, false, run.errors.get());
    } catch (...) {
        // The engine ends a table it gave up on all the same: nothing stays in an open transaction.
        if (run.prepared)
            run.importer->finish(run.errors.get());
        throw;
    }
    if (run.prepared)
        run.importer->finish(run.errors.get());
    return run.readOk;
}

class TShownLines::Display : public IShowProcess {
public:
    explicit Display(QStringList& lines) : m_lines(lines) {}
    void startProgress(int, int) override {}
    void setProgress(int, const QString&) override {}
    void setCaption(const QString&) override {}
    void setBottomText(const QString&) override {}
    void showStep(const QString& text) override { m_lines << text; }
    void addLine(const QString& text) override { m_lines << text; }
    void finishProgress() override {}

private:
    QStringList& m_lines;
};

TShownLines::TShownLines() : m_display(std::make_unique<Display>(lines))
{
    currentShowProcess().setDisplay(m_display.get());
}

TShownLines::~TShownLines() { currentShowProcess().setDisplay(nullptr); }

QStringList mysqlColumn(TDBConnection& connection, const QString& sql)
{
    QStringList out;
    std::unique_ptr<DbQuery> q = connection.openSQL(sql);
    for (; !q->eof(); q->next())
        out << (q->field(0).isNull() ? QStringLiteral("NULL") : q->field(0).asString());
    return out;
}

QString mysqlValue(TDBConnection& connection, const QString& sql)
{
    const QStringList values = mysqlColumn(connection, sql);
    return values.isEmpty() ? QString() : values.first();
}

void startImporterTest()
{
    static const bool started = [] {
        startUp();
        selectLanguage(QStringLiteral("EN"));
        return true;
    }();
    (void)started;
    resetRunState();
    dbOption().quoteNames = true;
    currentShowProcess().setDisplay(nullptr);
}
