#pragma once
// The settings of one database connection.

#include "shell/ITitled.h"

#include <memory>

class TStringList;
class TUIFrameList;
class IDBConnection;

class IDBConnectConfig : public ITitled {
public:
    virtual int getDBType() const = 0;                          // database kind
    virtual TUIFrameList* getPages() = 0;
    virtual TStringList* getSettings() = 0;                     // owned name=value settings
    virtual QString getPublicSettingsText() const = 0;          // without the password
    virtual void loadPassword(const TStringList& lines) = 0;
    virtual std::unique_ptr<IDBConnection> createConnection() = 0; // with the own settings
    virtual std::unique_ptr<IDBConnection> createConnectionWith(const TStringList& settings) = 0;
};
