#pragma once
// The process-wide global options list (name=value lines) with its file in
// the data folder, and typed reads that fall back to the built-in defaults.

#include <QString>

#include <functional>

class TStringList;

// The list itself; empty until loadGlobalOptions.
TStringList& globalOptions();

// Built-in default of a key, or the empty text. Installed at start-up once the
// main data module exists; until then reads fall back to false and 0.
using TOptionDefaultLookup = std::function<QString(const QString& key)>;
void setOptionDefaultLookup(TOptionDefaultLookup lookup);
QString optionDefault(const QString& key);

// "quenlor.goption" (after mainProgramFilePath), in the data folder at this
// moment: one file for every program.
QString globalOptionsFileName();
// Loads the data-folder setting, then the list from its file when it exists.
void loadGlobalOptions();
// Writes the list (CR LF lines); raises when the file cannot be written.
void saveGlobalOptions();

// "True"/"False" in any letter case, or a number (0 false); else the default.
bool getOptionBool(const QString& key);
int getOptionInt(const QString& key);
QString getOptionText(const QString& key); // stored value, else the default
void setOptionBool(const QString& key, bool value); // in memory only

// Boolean conversion shared by option and configuration readers; false when
// the text is neither a boolean word nor a number.
bool textToBool(const QString& text, bool& ok);
