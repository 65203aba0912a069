#pragma once
#include "platform/db/FieldType.h"

#include <QString>

#include <memory>

class TStringList;
class IDBConvert;
class IDBConnectConfig;
class TAbsConvertCreator;
class TAbsDBConnectConfigCreator;

// The converter registry. Created objects belong to the caller; "none" is a
// null pointer.
class IDBConvertManager {
public:
    virtual ~IDBConvertManager() = default;
    virtual std::unique_ptr<IDBConvert> createConvert(const QString& name) = 0;
    virtual std::unique_ptr<IDBConnectConfig> createConnectConfig(const QString& name) = 0;
    virtual void registerConnectConfigCreator(std::unique_ptr<TAbsDBConnectConfigCreator> creator) = 0;
    virtual void registerConvertCreator(std::unique_ptr<TAbsConvertCreator> creator) = 0;
    virtual const TStringList& connectConfigNames() const = 0;                                        // sorted
    virtual const TStringList& convertNames() const = 0;                                              // sorted
    virtual QString connectConfigDescription(const QString& name) const = 0;
    // Type mapping: scope class 0..5 of a destination type name for a kind.
    virtual int getFieldScope(int kind, const QString& typeName) = 0;
    // Destination type name for a field type; never empty.
    virtual QString getFieldTypeName(int kind, TFieldType fieldType) = 0;
    // Clamps precision and scale of an AutoDetect type; true when one changed.
    virtual bool autoDetectLen(int kind, const QString& typeName, int& precision, int& scale) = 0;
};
