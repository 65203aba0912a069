#pragma once
// The data-access defaults module: the shipped tables "UniDAC_Resource"
// (connection defaults per kind, provider names, page control maps) and
// "UniDAC_MetadataFieldType" (type names by catalogue type code), embedded at
// :/data/dbaccess.

#include <QString>

#include <memory>

class TKwStringsComponent;
class TStringList;

class TDataAccessModule {
public:
    TDataAccessModule();
    ~TDataAccessModule();
    TDataAccessModule(const TDataAccessModule&) = delete;
    TDataAccessModule& operator=(const TDataAccessModule&) = delete;

    const TKwStringsComponent& resources() const { return *m_resources; }
    const TKwStringsComponent& metadataFieldTypes() const { return *m_metadataFieldTypes; }

private:
    std::unique_ptr<TKwStringsComponent> m_resources;
    std::unique_ptr<TKwStringsComponent> m_metadataFieldTypes;
};

// The process-wide module, made on first use.
TDataAccessModule& dataAccessModule();

// Normalised type name of a catalogue's raw type text: Oracle timestamp and
// interval forms become "timestamp"; other kinds translate numeric type codes
// by "UniDAC_MetadataFieldType"; anything else stays as it is.
QString mapSourceTypeName(int kind, const QString& raw);
// The lines of that "UniDAC_Resource" section, or none.
const TStringList* dataAccessSection(const QString& section);
// The data-access provider name of a kind name ("DataTypeMapping"), or the empty text.
QString providerNameOfKind(const QString& kindName);
