#pragma once
// Configuration container: one saved job, its converter name, version and
// GUID, and the keyed string table of all its sections. On disk it is the
// enciphered envelope around the table (".Tvcfg").

#include <QString>
#include <QtGlobal>

#include <memory>

class QIODevice;
class TKwStringsComponent;
class IDBConvert;

class TMainConfigInfo {
public:
    TMainConfigInfo();
    ~TMainConfigInfo();
    TMainConfigInfo(const TMainConfigInfo&) = delete;
    TMainConfigInfo& operator=(const TMainConfigInfo&) = delete;

    QString convertName;
    qint32 convertVersion = 0;
    QString guid; // registry form, with braces
    TKwStringsComponent& table() const { return *m_table; }

    // Reads an enciphered or plain configuration, then readMainInfo. A
    // damaged stream raises and leaves the table as it was.
    bool loadFromStream(QIODevice& stream);
    // False when the file does not exist.
    bool loadFromFile(const QString& fileName);
    // Fills the fields from section "MainInfo"; false without that section
    // (fields kept) or with a blank converter name (table emptied).
    bool readMainInfo();
    // Rebuilds the table from "MainInfo" and the job's sections and writes it
    // enciphered, readable by the owner only; nothing happens without a job.
    void writeConfigFile(const QString& fileName, IDBConvert* job, bool withoutPasswords);

private:
    std::unique_ptr<TKwStringsComponent> m_table;
};
