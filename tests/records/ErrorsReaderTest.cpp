// quenlor-errors over files built value by value from the documented layout,
// and over files the tracker wrote.

#include "RecordsTestSupport.h"

#include "records/ErrInfoList.h"
#include "records/ErrTrack.h"
#include "records/ErrorFileReport.h"
#include "records/PlainFolderData.h"
#include "records/StoredPayload.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace {
QByteArray guid(const char* registryForm)
{
    return guidToBytes(QUuid(QString::fromLatin1(registryForm)));
}

// One group ORDERS (ID ftInteger required, NOTE ftWideString), one error with
// the record ID=5, NOTE=NULL, written without the record classes.
QByteArray handBuiltList(bool groupAfterError, bool errorHasRecord)
{
    return writtenBytes([&](TWriter& w) {
        auto group = [&] {
            w.writeInteger(1973);
            w.writeRaw(guid("{C77E8F95-5C19-489E-8B9A-DFE0A8E3732F}"));
            w.writeInteger(1);
            w.writeString(QStringLiteral("ORDERS"));
            w.writeString(QStringLiteral("orders_new"));
            w.writeString(QStringLiteral("ID=ID\r\nNOTE=NOTE\r\n"));
            w.writeBoolean(false);
            w.writeInteger(1973);
            w.writeRaw(guid("{67EEDC05-210B-4662-A9A3-4530CD5FFD89}"));
            w.writeInteger(1);
            w.writeInteger(2);
            w.writeInteger(1), w.writeString(QStringLiteral("ID")), w.writeInteger(3), w.writeBoolean(true);
            w.writeInteger(1), w.writeString(QStringLiteral("NOTE")), w.writeInteger(24), w.writeBoolean(false);
            w.writeInteger(1981);
            w.writeBoolean(false);
            w.writeInteger(1973);
            w.writeRaw(guid("{A190D2EB-0D12-4E80-9390-4C5E64E768BF}"));
            w.writeInteger(1);
            w.writeString(QStringLiteral("ID")), w.writeString(QStringLiteral("NUMBER"));
            w.writeBoolean(true), w.writeInteger(10), w.writeInteger(-1), w.writeInteger(0);
            w.writeInteger(1981);
            w.writeInteger(1981);
        };
        w.writeInteger(1973);
        w.writeRaw(guid("{82DDB352-A62D-46B2-AE4B-32EC85A015C1}"));
        w.writeInteger(1);
        w.writeInteger(1);
        w.writeInteger(300);
        w.writeListBegin();
        if (!groupAfterError)
            group();
        w.writeInteger(1973);
        w.writeRaw(guid("{F3482FD5-7A8D-49D7-8A47-8500E14A18D5}"));
        w.writeInteger(1);
        w.writeString(QStringLiteral("Duplicate entry '5'"));
        w.writeString(QStringLiteral("ORDERS"));
        w.writeString(QStringLiteral("insert into orders_new values (:ID,:NOTE)"));
        w.writeInteger(1);
        w.writeBoolean(errorHasRecord);
        w.writeInteger(1);
        w.writeString(QString());
        w.writeInteger(1);
        w.writeInteger(1062);
        if (errorHasRecord)
            w.writeRaw(hexBytes("03 B5 07 D8 52 91 94 47 7D 21 43 92 9C DA 43 4C 0D 4E 51 02 01"
                                "02 01 02 00 02 03 08 02 04 05 00 00 00 02 01 02 01 02 18 09 03 BD 07"));
        w.writeInteger(1981);
        if (groupAfterError)
            group();
        w.writeListEnd();
        w.writeInteger(1981);
    });
}

class ErrorsReaderTest : public ::testing::Test {
protected:
    void writeErrorFile(const QString& name, const QByteArray& bytes)
    {
        QDir().mkpath(dir.filePath(QStringLiteral("error")));
        QFile f(dir.filePath(QStringLiteral("error/") + name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    int run(const QStringList& args)
    {
        out.clear();
        err.clear();
        QTextStream o(&out), e(&err);
        return runQuenlorErrors(QStringList{QStringLiteral("quenlor-errors")} + args, o, e);
    }

    QTemporaryDir dir;
    QString out, err;
};
} // namespace

TEST_F(ErrorsReaderTest, ShowsAnIndependentlyBuiltFile)
{
    writeErrorFile(QStringLiteral("error.errinfo"),
                   "SumCount=1\r\nFileCount=1\r\nFileItem1=error.errlist\r\nGuid={G}\r\nConfigFileName=/c.Tvcfg\r\n");
    writeErrorFile(QStringLiteral("error.errlist"), handBuiltList(false, true));
    ASSERT_EQ(run({QStringLiteral("show"), dir.path()}), 0) << err.toStdString();
    EXPECT_EQ(err, QString());
    EXPECT_EQ(out, QStringLiteral(
        "SumCount=1\nFileCount=1\nGuid={G}\nConfigFileName=/c.Tvcfg\n"
        "\nFile 1: error.errlist first=1 last=300\n"
        "Group: ORDERS\n"
        "  Display name: orders_new\n"
        "  Field mapping:\n    ID=ID\n    NOTE=NOTE\n"
        "  Definitions:\n    ID type=ftInteger required=True\n    NOTE type=ftWideString required=False\n"
        "  Metadata:\n    fieldname=ID\ttype=NUMBER\tlength=-1\tprecision=10\tscale=0\tnotNull=True\n"
        "Error 0001: Insert record error\n"
        "  Group: ORDERS\n"
        "  Database kind: MySQL\n"
        "  Error code: 1062\n"
        "  State: Reexecuted\n"
        "  Message:\n    Duplicate entry '5'\n"
        "  Statement:\n    insert into orders_new values (:ID,:NOTE)\n"
        "  Record:\n    ID=5\n    NOTE=NULL\n"));
    // The same from the error folder and from the index file itself.
    const QString first = out;
    ASSERT_EQ(run({QStringLiteral("show"), dir.filePath(QStringLiteral("error"))}), 0);
    EXPECT_EQ(out, first);
    ASSERT_EQ(run({QStringLiteral("show"), dir.filePath(QStringLiteral("error/error.errinfo")), QStringLiteral("--file"), QStringLiteral("1")}), 0);
    EXPECT_EQ(out, first);
}

TEST_F(ErrorsReaderTest, GroupWrittenAfterItsError)
{
    writeErrorFile(QStringLiteral("error.errinfo"), "FileCount=1\r\nFileItem1=error.errlist\r\n");
    // Without a record the error simply has no group.
    writeErrorFile(QStringLiteral("error.errlist"), handBuiltList(true, false));
    ASSERT_EQ(run({QStringLiteral("show"), dir.path()}), 0) << err.toStdString();
    EXPECT_TRUE(out.contains(QStringLiteral("Error 0001: Insert record error\n  Group: \n")));
    // With a record it cannot be read.
    writeErrorFile(QStringLiteral("error.errlist"), handBuiltList(true, true));
    EXPECT_EQ(run({QStringLiteral("show"), dir.path()}), 1);
    EXPECT_EQ(err, QStringLiteral("TErrGroup[\"ORDERS\"] not found!\n"));
}

TEST_F(ErrorsReaderTest, FailuresGoToStandardError)
{
    EXPECT_EQ(run({QStringLiteral("show"), dir.path()}), 1);
    EXPECT_EQ(err, QStringLiteral("File[\"error/error.errinfo\"] not found!\n"));
    EXPECT_EQ(out, QString());

    writeErrorFile(QStringLiteral("error.errinfo"), "FileCount=1\r\nFileItem1=error.errlist\r\n");
    QByteArray damaged = handBuiltList(false, true);
    damaged.chop(10);
    writeErrorFile(QStringLiteral("error.errlist"), damaged);
    EXPECT_EQ(run({QStringLiteral("show"), dir.path()}), 1);
    EXPECT_EQ(err, QStringLiteral("Stream read error\n"));
    EXPECT_EQ(run({QStringLiteral("show"), dir.path(), QStringLiteral("--file"), QStringLiteral("3")}), 1);
    EXPECT_EQ(run({QStringLiteral("list"), dir.path()}), 2);
    EXPECT_TRUE(err.startsWith(QStringLiteral("usage: quenlor-errors show PATH")));
}

TEST_F(ErrorsReaderTest, ReadsWhatTheTrackerWrote)
{
    {
        TPlainFolderData folder(dir.path());
        TErrInfoList list(&folder);
        list.tracker().beginTable(QStringLiteral("T"), QString());
        for (int i = 0; i < 302; ++i)
            list.tracker().addErrorNoRecord(QStringLiteral("m%1").arg(i), QString(), -1, -1, TErrorType::ReadData);
    }
    ASSERT_EQ(run({QStringLiteral("show"), dir.path(), QStringLiteral("--file"), QStringLiteral("2")}), 0) << err.toStdString();
    EXPECT_TRUE(out.startsWith(QStringLiteral("SumCount=302\nFileCount=2\n")));
    EXPECT_TRUE(out.contains(QStringLiteral("File 2: error1.errlist first=301 last=600\n")));
    EXPECT_TRUE(out.contains(QStringLiteral("Error 0302: Read data error\n  Group: T\n  Database kind: \n  Error code: -1\n")));
    EXPECT_FALSE(out.contains(QStringLiteral("Error 0001")));
}

// Indexes that cannot be trusted: the folder's own files are shown instead,
// each once, with a note; nothing outside the error folder is read.
TEST_F(ErrorsReaderTest, DamagedIndexesAreReadAsMissing)
{
    QTemporaryDir outside;
    {
        QFile f(outside.filePath(QStringLiteral("x.errlist")));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        QByteArray foreign = handBuiltList(false, false);
        foreign.replace("Duplicate entry '5'", "OUTSIDE THE FOLDER!");
        f.write(foreign);
    }
    const QString outsideRelative = QDir(dir.filePath(QStringLiteral("error"))).relativeFilePath(outside.filePath(QStringLiteral("x.errlist")));
    const struct {
        QByteArray index;
        QString why;
    } cases[] = {
        {"SumCount=1\r\nFileCount=3\r\nFileItem1=error.errlist\r\n", QStringLiteral("FileCount=3 but 1 FileItem entries")},
        {"SumCount=1\r\nFileCount=2147483647\r\nFileItem1=error.errlist\r\n",
         QStringLiteral("FileCount=2147483647 but 1 FileItem entries")},
        {"SumCount=1\r\nFileCount=1\r\nFileItem1=error.errl", QStringLiteral("its last line is cut off")},
        {"SumCount=1\r\nFileCou", QStringLiteral("its last line is cut off")},
        {"", QStringLiteral("empty")},
        {"SumCount=1\r\nFileCount=x\r\n", QStringLiteral("FileCount=x is no count")},
        {"FileCount=1\r\nFileItem1=../../x.errlist\r\n", QStringLiteral("FileItem1=../../x.errlist leaves the error folder")},
        {"FileCount=1\r\nFileItem1=" + outsideRelative.toUtf8() + "\r\n",
         QStringLiteral("FileItem1=%1 leaves the error folder").arg(outsideRelative)},
        {"FileCount=2\r\nFileItem1=error.errlist\r\nFileItem2=error.errlist\r\n",
         QStringLiteral("FileItem2=error.errlist names a file twice")},
    };
    writeErrorFile(QStringLiteral("error.errlist"), handBuiltList(false, true));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.index.toStdString());
        writeErrorFile(QStringLiteral("error.errinfo"), c.index);
        ASSERT_EQ(run({QStringLiteral("show"), dir.path()}), 0) << err.toStdString();
        const QString note = QStringLiteral("Note: The error index \"%1/error/error.errinfo\" is damaged (%2); "
                                            "the error list files of the folder were read instead.\n")
                                 .arg(dir.path(), c.why);
        EXPECT_EQ(err, note);
        EXPECT_TRUE(out.startsWith(note + QStringLiteral("SumCount=1\nFileCount=1\n"))) << out.toStdString();
        EXPECT_EQ(out.count(QStringLiteral("\nFile ")), 1);
        EXPECT_TRUE(out.contains(QStringLiteral("\nFile 1: error.errlist first=1 last=300\n")));
        EXPECT_EQ(out.count(QStringLiteral("Error 0001")), 1);
        EXPECT_FALSE(out.contains(QStringLiteral("OUTSIDE")));
        EXPECT_EQ(run({QStringLiteral("show"), dir.path(), QStringLiteral("--file"), QStringLiteral("2")}), 1);
        EXPECT_TRUE(err.endsWith(QStringLiteral("File number 2 out of range (1-1)\n"))) << err.toStdString();
    }

    // A list file that is a link out of the folder is refused, whoever names it.
    QFile::remove(dir.filePath(QStringLiteral("error/error.errlist")));
    ASSERT_TRUE(QFile::link(outside.filePath(QStringLiteral("x.errlist")), dir.filePath(QStringLiteral("error/error.errlist"))));
    const QString refused = QStringLiteral("Refused to read \"%1/error/error.errlist\": it lies outside the folder \"%1/\"")
                                .arg(dir.path());
    writeErrorFile(QStringLiteral("error.errinfo"), "FileCount=1\r\nFileItem1=error.errlist\r\n");
    EXPECT_EQ(run({QStringLiteral("show"), dir.path()}), 1);
    EXPECT_EQ(err, refused + u'\n');
    EXPECT_FALSE(out.contains(QStringLiteral("OUTSIDE")));
    writeErrorFile(QStringLiteral("error.errinfo"), "FileCount=");
    EXPECT_EQ(run({QStringLiteral("show"), dir.path()}), 1) << "nothing readable";
    EXPECT_TRUE(err.contains(QStringLiteral("Note: ") + refused + u'\n'));
    EXPECT_TRUE(err.endsWith(QStringLiteral("No error could be read from \"%1\"\n").arg(dir.path())));
    EXPECT_FALSE(out.contains(QStringLiteral("OUTSIDE")));
}

// A run that ended without its index (killed, or the index lost): the
// folder's list files in numeric order, the last one up to its last complete
// error, and a note saying so.
TEST_F(ErrorsReaderTest, AFolderWithoutItsIndexShowsEveryCompleteError)
{
    {
        TPlainFolderData folder(dir.path());
        TErrInfoList list(&folder);
        list.tracker().beginTable(QStringLiteral("T"), QString());
        for (int i = 0; i < 3 * 300 + 12; ++i)
            list.tracker().addErrorNoRecord(QStringLiteral("m%1").arg(i + 1), QString(), -1, -1, TErrorType::ReadData);
    }
    const QString whole = [&] {
        run({QStringLiteral("show"), dir.path()});
        return out;
    }();
    // error.errlist, error1, error2, error3: listed as 0, 1, 2, 3 and not by name.
    for (const char* name : {"error1.errlist", "error2.errlist"})
        ASSERT_TRUE(QFile::exists(dir.filePath(QStringLiteral("error/") + QString::fromLatin1(name))));
    const QString last = dir.filePath(QStringLiteral("error/error3.errlist"));
    QFile list(last);
    ASSERT_TRUE(list.open(QIODevice::ReadWrite));
    const QByteArray bytes = list.readAll();
    // Cut inside error 911: after its message "m911", before its end.
    const qsizetype cut = bytes.lastIndexOf("m911") + 6;
    ASSERT_GT(cut, 6);
    ASSERT_TRUE(list.resize(cut));
    list.close();

    const QString index = dir.filePath(QStringLiteral("error/error.errinfo"));
    const struct {
        const char* what;
        std::function<void()> damage;
        QString note;
    } cases[] = {
        {"index deleted", [&] { QFile::remove(index); },
         QStringLiteral("The error index \"%1\" is missing").arg(index)},
        {"index one file behind",
         [&] {
             QFile f(index);
             ASSERT_TRUE(f.open(QIODevice::WriteOnly));
             f.write("SumCount=900\r\nFileCount=3\r\nFileItem1=error.errlist\r\nFileItem2=error1.errlist\r\n"
                     "FileItem3=error2.errlist\r\n");
         },
         QStringLiteral("The error index \"%1\" does not name \"error3.errlist\" (a run that did not end?)").arg(index)},
        {"index truncated",
         [&] {
             QFile f(index);
             ASSERT_TRUE(f.open(QIODevice::WriteOnly));
             f.write("SumCount=900\r\nFileCount=3\r\nFileItem1=error.errlist\r\nFileItem2=err");
         },
         QStringLiteral("The error index \"%1\" is damaged (its last line is cut off)").arg(index)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        c.damage();
        ASSERT_EQ(run({QStringLiteral("show"), dir.path()}), 0) << err.toStdString();
        const QString notes = QStringLiteral("Note: %1; the error list files of the folder were read instead.\n"
                                             "Note: The error list file \"%2\" is incomplete (Stream read error): "
                                             "its first 10 errors were read.\n")
                                  .arg(c.note, last);
        EXPECT_EQ(err, notes);
        ASSERT_TRUE(out.startsWith(notes + QStringLiteral("SumCount=910\nFileCount=4\n"))) << out.toStdString();
        QStringList files;
        for (const QString& line : out.split(u'\n'))
            if (line.startsWith(QStringLiteral("File ")))
                files << line;
        EXPECT_EQ(files, QStringList({"File 1: error.errlist first=1 last=300", "File 2: error1.errlist first=301 last=600",
                                      "File 3: error2.errlist first=601 last=900",
                                      "File 4: error3.errlist first=901 last=1200"}));
        EXPECT_TRUE(out.contains(QStringLiteral("Error 0910: Read data error\n")));
        EXPECT_TRUE(out.contains(QStringLiteral("    m910\n")));
        EXPECT_FALSE(out.contains(QStringLiteral("Error 0911")));
        EXPECT_TRUE(out.endsWith(QStringLiteral("Incomplete file: the errors above are those read before it broke off "
                                                "(Stream read error)\n")));
        // Up to the cut, what is shown is what the whole folder showed.
        const QString body = out.mid(notes.size() + QStringLiteral("SumCount=910\nFileCount=4\n").size());
        EXPECT_TRUE(whole.contains(body.left(body.indexOf(QStringLiteral("Incomplete file:"))))) << "same errors, same form";
    }
    // The lost index's own path names the folder too.
    QFile::remove(index);
    const QString fromFolder = [&] {
        run({QStringLiteral("show"), dir.path()});
        return out;
    }();
    for (const QString& named : {index, dir.filePath(QStringLiteral("error"))}) {
        EXPECT_EQ(run({QStringLiteral("show"), named}), 0) << named.toStdString();
        EXPECT_EQ(out, fromFolder);
    }
}
