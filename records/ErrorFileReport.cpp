#include "records/ErrorFileReport.h"

#include "foundation/CommonUtils.h"
#include "foundation/Exception.h"
#include "foundation/StringResource.h"
#include "foundation/TextUtils.h"
#include "records/ErrInfoList.h"
#include "records/ErrTrack.h"
#include "records/PlainFolderData.h"

#include <QDir>
#include <QFileInfo>

#include <cstdio>

namespace {
// The catalogue's English names, for a reader that runs without the string tables.
QString errorTypeText(int type)
{
    const QString name = errorTypeName(type);
    if (!name.isEmpty())
        return name;
    static const char* const names[] = {"Insert record error", "Read data error", "Read matadata error",
                                        "Create table error", "Convert primary key field name error",
                                        "Set SQL paramter error", "Drop table error", "Delete data error",
                                        "Connect database error", "Initializing  error",
                                        "Generating the DUMP file error", "Create index error"};
    return type >= 1 && type <= 12 ? QString::fromLatin1(names[type - 1]) : QString::number(type);
}

QString errorStateText(int state)
{
    const QString name = errorStateName(state);
    if (!name.isEmpty() || state == 0)
        return name;
    if (state == 1)
        return QStringLiteral("Reexecuted");
    if (state == 2)
        return QStringLiteral("SQL has been executed");
    return QString::number(state);
}

QString fieldValueText(const IReadDataField& field)
{
    if (field.isNull())
        return QStringLiteral("NULL");
    try {
        const TReadDataFieldType type = field.dataType();
        if (type == rftBytes || type == rftBlob)
            return QStringLiteral("0x") + QString::fromLatin1(field.asBytes().toHex().toUpper());
        return field.displayText();
    } catch (const Exception& e) {
        return QStringLiteral("(") + e.message() + u')';
    }
}

void writeIndented(QTextStream& out, const QString& indent, const QString& text)
{
    for (const QString& line : TStringList::splitLines(text))
        out << indent << line << '\n';
}
} // namespace

QString workFolderOfPath(const QString& path)
{
    const QFileInfo info(path);
    // The index named even when it is gone: its folder's files are read then.
    if (info.isFile() || (!info.exists() && info.fileName().compare(QStringLiteral("error.errinfo"), Qt::CaseInsensitive) == 0))
        return QFileInfo(info.absolutePath()).absolutePath();
    const QDir dir(info.absoluteFilePath());
    if (QFileInfo(dir.filePath(QStringLiteral("error/error.errinfo"))).isFile())
        return dir.absolutePath();
    if (QFileInfo(dir.filePath(QStringLiteral("error.errinfo"))).isFile() ||
        dir.dirName().compare(QStringLiteral("error"), Qt::CaseInsensitive) == 0)
        return QFileInfo(dir.absolutePath()).absolutePath();
    return dir.absolutePath();
}

void writeIndexReport(const TErrInfoList& list, QTextStream& out)
{
    const TErrTrack& track = list.tracker();
    out << "SumCount=" << track.totalErrors() << '\n';
    out << "FileCount=" << track.fileCount() << '\n';
    out << "Guid=" << track.configId() << '\n';
    out << "ConfigFileName=" << track.configFileName() << '\n';
}

void writeFileReport(const TErrInfoList& list, int fileNumber, QTextStream& out)
{
    out << '\n'
        << "File " << fileNumber << ": " << list.tracker().fileName(fileNumber)
        << " first=" << list.firstNumber() << " last=" << list.lastNumber() << '\n';
    for (int g = 0; g < list.groupCount(); ++g) {
        const TErrGroup* group = list.groupAt(g);
        out << "Group: " << group->name << '\n';
        out << "  Display name: " << group->displayName() << '\n';
        out << "  Field mapping:\n";
        writeIndented(out, QStringLiteral("    "), group->fieldMapping.text());
        out << "  Definitions:";
        if (const TDatasetFieldDefList* defs = group->definitions()) {
            out << '\n';
            for (int i = 0; i < defs->defCount(); ++i) {
                const TDatasetFieldDef& def = defs->defAt(i);
                const QString typeName = fieldTypeName(def.dataType);
                out << "    " << def.name << " type=" << (typeName.isEmpty() ? QString::number(def.dataType) : typeName)
                    << " required=" << (def.required ? "True" : "False") << '\n';
            }
        } else {
            out << " none\n";
        }
        out << "  Metadata:";
        if (const TFieldMetadataList* meta = group->metadata()) {
            out << '\n';
            writeIndented(out, QStringLiteral("    "), meta->ToString());
        } else {
            out << " none\n";
        }
    }
    for (int e = 0; e < list.errorCount(); ++e) {
        const TErrInfo* error = list.errorAt(e);
        out << "Error " << zeroPadNumber(list.errorNumber(e), 4) << ": " << errorTypeText(error->errorType) << '\n';
        out << "  Group: " << (error->group ? error->group->name : QString()) << '\n';
        out << "  Database kind: " << (error->dbKind == -1 ? QString() : dbKindOrCategoryName(error->dbKind)) << '\n';
        out << "  Error code: " << error->errorCode << '\n';
        out << "  State: " << errorStateText(error->state) << '\n';
        out << "  Message:\n";
        writeIndented(out, QStringLiteral("    "), error->message);
        out << "  Statement:\n";
        writeIndented(out, QStringLiteral("    "), error->statement);
        if (const IReadDataRecord* record = error->record()) {
            out << "  Record:\n";
            for (int i = 0; i < record->fieldCount(); ++i) {
                const IReadDataField* field = record->fieldAt(i);
                out << "    " << field->fieldName() << '=' << fieldValueText(*field) << '\n';
            }
        }
    }
    if (!list.tracker().loadedFileComplete())
        out << "Incomplete file: the errors above are those read before it broke off ("
            << list.tracker().loadedFileDamage() << ")\n";
}

int runQuenlorErrors(const QStringList& arguments, QTextStream& out, QTextStream& err)
{
    const QString usage = QStringLiteral("usage: quenlor-errors show PATH [--file N]\n"
                                         "PATH: a run's work folder, its \"error\" folder or the error.errinfo file\n");
    QStringList args = arguments.mid(1);
    int onlyFile = 0;
    const qsizetype fileOption = args.indexOf(QStringLiteral("--file"));
    if (fileOption >= 0) {
        bool ok = false;
        onlyFile = fileOption + 1 < args.size() ? args.at(fileOption + 1).toInt(&ok) : 0;
        if (!ok || onlyFile < 1) {
            err << usage;
            return 2;
        }
        args.remove(fileOption, 2);
    }
    if (args.size() != 2 || args.at(0) != QStringLiteral("show")) {
        err << usage;
        return 2;
    }
    try {
        TPlainFolderData folder(workFolderOfPath(args.at(1)));
        TErrInfoList list(&folder);
        TErrTrack& track = list.tracker();
        track.openErrorInfo();
        // Said first and on both streams: a reader of either must not take a
        // recovered folder for a whole one.
        for (const QString& note : track.readNotes()) {
            out << "Note: " << note << '\n';
            err << "Note: " << note << '\n';
        }
        writeIndexReport(list, out);
        if (onlyFile > 0) {
            if (onlyFile > track.fileCount())
                throw Exception(QStringLiteral("File number %1 out of range (1-%2)").arg(onlyFile).arg(track.fileCount()));
            if (onlyFile != 1)
                track.loadErrorFile(onlyFile);
            writeFileReport(list, onlyFile, out);
        } else {
            for (int n = 1; n <= track.fileCount(); ++n) {
                if (n != 1)
                    track.loadErrorFile(n);
                writeFileReport(list, n, out);
            }
        }
        out.flush();
        err.flush();
        // Read from the folder's files, but not one error of them was readable.
        if (track.readFromListing() && track.totalErrors() == 0) {
            err << "No error could be read from \"" << args.at(1) << "\"\n";
            err.flush();
            return 1;
        }
        return 0;
    } catch (const std::exception& e) {
        out.flush();
        err << exceptionMessage(e) << '\n';
        err.flush();
        return 1;
    }
}

int runQuenlorErrors(const QStringList& arguments)
{
    QTextStream out(stdout);
    QTextStream err(stderr);
    return runQuenlorErrors(arguments, out, err);
}
