#pragma once
#include <QString>

#include <memory>

class QIODevice;
class TStringList;

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
