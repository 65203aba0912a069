#pragma once
#include <QString>

#include <memory>

class QIODevice;
class TStringList;

// The folder a run writes its files into. Names inside it are a sub-folder
// and a file name; files and folders made in it are the owner's only.
class TAbsDBDumpData {
public:
    virtual ~TAbsDBDumpData() = default;
    // Raises with the path and the reason when the file cannot be made.
    virtual std::unique_ptr<QIODevice> createFile(const QString& subFolder, const QString& name) = 0;
    // Writes the whole file under a temporary name and renames it onto the
    // name (a link there is replaced); raises with the path and the reason.
    virtual void replaceFile(const QString& subFolder, const QString& name, const QByteArray& bytes) = 0;
    // None when the file does not exist; raises when the name leads out of the folder.
    virtual std::unique_ptr<QIODevice> openFile(const QString& subFolder, const QString& name) = 0;
    virtual bool fileExists(const QString& subFolder, const QString& name) = 0;
    // Paths relative to the folder; none when listing fails.
    virtual std::unique_ptr<TStringList> listFiles() = 0;
    virtual void packFolder(const QString& packageName) = 0;
    virtual void setFolder(const QString& path) = 0;
    virtual void extractPackage(const QString& packageName) = 0;
    virtual QString getFolder() const = 0;
};
