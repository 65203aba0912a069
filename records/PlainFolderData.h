#pragma once
// A work folder that is just a folder on disk: the file operations of a work
// folder without packages. Used to read the error files of an earlier run.

#include "records/AbsDBDumpData.h"

#include <QString>

class TPlainFolderData : public TAbsDBDumpData {
public:
    explicit TPlainFolderData(const QString& folder);

    std::unique_ptr<QIODevice> createFile(const QString& subFolder, const QString& name) override;
    void replaceFile(const QString& subFolder, const QString& name, const QByteArray& bytes) override;
    std::unique_ptr<QIODevice> openFile(const QString& subFolder, const QString& name) override;
    bool fileExists(const QString& subFolder, const QString& name) override;
    std::unique_ptr<TStringList> listFiles() override;
    void packFolder(const QString& packageName) override;       // not available here: raises
    void setFolder(const QString& path) override;
    void extractPackage(const QString& packageName) override;   // not available here: raises
    QString getFolder() const override { return m_folder; }

    QString filePath(const QString& subFolder, const QString& name) const;
    // Whether the path, links resolved, lies inside the folder.
    bool holdsPath(const QString& path) const;

private:
    QString m_folder; // ends in '/'
};
