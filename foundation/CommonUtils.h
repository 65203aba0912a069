#pragma once
// Shared free functions: folders and paths, file housekeeping, database
// kinds, GUIDs, name=value merging. Folder results end in '/'.

#include "foundation/StringList.h"

#include <QString>
#include <memory>

class QBuffer;

// Folders and paths
QString dataFolder();
QString withTrailingBackslash(const QString& path);
QString withoutTrailingSlashes(const QString& path);
QString backslashUnlessEmpty(const QString& path);
QString timeStampedFolder(const QString& base);
QString dataSubfolderPath(const QString& subfolder, const QString& file);
QString timeStampedDataPath(const QString& subfolder, const QString& file);
bool forceFileFolder(const QString& filePath);
void listFilesRecursive(const QString& folder, TStringList& list, bool relative, const QString& prefix);
void deleteFolderContents(const QString& folder);
bool isDeletableFolder(const QString& folder);
QString tempFolder();
QString tempFileName(const QString& folder, const QString& prefix);
QString windowsFolder();   // no counterpart here: the empty text
QString programFilePath(); // the running executable
QString programFolder();   // its folder, with a trailing '/'
// "quenlor" in programFolder: every program of the system keys the settings
// it shares (global options file, data-folder setting) to this path, so that
// the programs of one installation read the same ones.
QString mainProgramFilePath();

// Data-folder setting (per-user settings store)
QString dataFolderSetting();
void setDataFolderSetting(const QString& folder);
void loadDataFolderSetting();
void saveDataFolderSetting();
QString settingsValueName(); // CRC-32 of the upper-cased mainProgramFilePath, 8 hex digits
QString settingsValueNameFor(const QString& programPath);
QString settingsFilePath();  // $XDG_CONFIG_HOME/Varnoke/Quenlor.conf
QString settingsGroup();     // SOFTWARE/Varnoke/Quenlor

// Database kinds
int dbKindCode(const QString& name);
QString dbKindName(int code);
QString dbKindOrCategoryName(int code);
bool isNameLengthValid(int kindCode, const QString& name);

// Misc
QString newGuidText();
std::unique_ptr<TStringList> mergeNameValues(const TStringList* base, const TStringList* overrides);
int writeResourceToFile(const QString& resourceName, const QString& folder, const QString& fileName);
