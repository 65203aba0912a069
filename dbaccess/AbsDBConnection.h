#pragma once
// The part of a connection every kind shares: its database kind, an owned
// string list and parameter lists parsed from statement texts.

#include "foundation/StringList.h"
#include "shell/IDBConnection.h"

#include <memory>

class TAbsDBConnection : public IDBConnection {
public:
    explicit TAbsDBConnection(int kind);
    ~TAbsDBConnection() override;

    int getDBType() const override { return m_kind; }
    TStringList* getStringList() override { return m_strings.get(); }
    std::unique_ptr<DbParamList> createParams(const QString& sql) override;

private:
    int m_kind;
    std::unique_ptr<TStringList> m_strings;
};
