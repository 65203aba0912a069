#pragma once
// Obtaining the job for an operation chosen on the welcome page or the
// command line, and the job configuration stored in a dump package.

#include <QString>

#include <memory>

class IDBConvert;
class TKwStringsComponent;
class TMainConfigInfo;

// Entries of a dump package as this system reads them.
inline const QString kDumpHeadEntry = QStringLiteral("ExportData/head.expinfo");
inline const QString kDumpConfigEntry = QStringLiteral("ExportData/Config/innerConfig.ccg");

// Loads the package's configuration entry into the container; false when the
// package or the entry is missing or the entry names no converter. A damaged
// entry raises the stream reader's error.
bool loadPackageConfig(const QString& packageFile, TMainConfigInfo& container);

// Import (3): the job of the package's configuration, with the passwords of
// configFile when that file carries the same GUID. Any other operation: the
// job of configFile when it exists, else a new "CopyConvert" job (the
// container is then emptied, so the new job gets a GUID of its own when saved).
// None when the registry knows no converter of the name. A configuration
// that cannot be read raises common error 1000 (position 2 for a package,
// 1 for a file); a job that refuses the configuration raises its own error.
std::unique_ptr<IDBConvert> loadJobForOperation(int operation, const QString& configFile, const QString& dumpFile,
                                                TMainConfigInfo& container);

// A table with a "MainInfo" section must name a converter the registry knows
// and load as that job (the job's own errors, such as the kind check, pass
// through); a blank GUID is given a new one. Tables without "MainInfo" pass.
void checkJobTable(TKwStringsComponent& table);
