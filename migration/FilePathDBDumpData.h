#pragma once
// The work folder of a run: a folder under the data folder's "Export" folder
// into which the run writes its files, packed into a dump package (a zip
// archive, ".Tvdump") or filled by unpacking one.

#include "records/AbsDBDumpData.h"

#include <QString>

class TFilePathDBDumpData : public TAbsDBDumpData {
public:
    // "Export/yyyy-MM-dd@hh_mm/" under the data folder; created only when a
    // file is written into it.
    TFilePathDBDumpData();
    explicit TFilePathDBDumpData(const QString& folder);

    // Replaces an existing file, else creates the missing folders.
    std::unique_ptr<QIODevice> createFile(const QString& subFolder, const QString& name) override;
    void replaceFile(const QString& subFolder, const QString& name, const QByteArray& bytes) override;
    // Raises "Error_PathError" when the folder is not valid; none when the file is missing.
    std::unique_ptr<QIODevice> openFile(const QString& subFolder, const QString& name) override;
    bool fileExists(const QString& subFolder, const QString& name) override;
    std::unique_ptr<TStringList> listFiles() override;
    // Packs every file below the folder into a new archive; raises when the
    // folder is missing, the package exists already or nothing was packed.
    void packFolder(const QString& packageName) override;
    // Takes the path, then raises "Error_PathError" when it is not valid.
    void setFolder(const QString& path) override;
    // Unpacks into "Export/<package name without extension>/" under the data
    // folder, first emptying what an earlier unpacking left there; members
    // that would land outside that folder are refused before anything is
    // written, and so is a folder that holds a run's error index.
    void extractPackage(const QString& packageName) override;
    QString getFolder() const override { return m_folder; }

    QString filePath(const QString& subFolder, const QString& name) const;
    // Not blank and existing.
    bool isValidFolder() const;
    void checkFolder() const;

private:
    void takeFolder(const QString& path);

    QString m_folder; // ends in '/', or empty
};

// Whether the file is a zip archive holding the package marker entry.
bool isDumpPackage(const QString& packageFile);
// The refusal text of a file that is no dump package (string resource 6000).
QString notDumpPackageText(const QString& packageFile);
