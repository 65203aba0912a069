#include "dbaccess/AbsDBConnection.h"

#include "platform/db/DbParamList.h"

TAbsDBConnection::TAbsDBConnection(int kind) : m_kind(kind), m_strings(std::make_unique<TStringList>()) {}

TAbsDBConnection::~TAbsDBConnection() = default;

std::unique_ptr<DbParamList> TAbsDBConnection::createParams(const QString& sql)
{
    return std::make_unique<DbParamList>(DbParamList::fromStatement(sql));
}
