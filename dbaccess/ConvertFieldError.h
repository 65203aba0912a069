#pragma once
// A source value that cannot become the destination column's kind: the
// conversion's own message with the column and both record field kinds.

#include "foundation/Exception.h"
#include "records/ReadDataFieldType.h"

class TConvertFieldError : public Exception {
public:
    TConvertFieldError(const QString& conversionMessage, const QString& columnName, TReadDataFieldType sourceType,
                       TReadDataFieldType destType);

    const QString& conversionMessage() const { return m_conversionMessage; }
    const QString& columnName() const { return m_columnName; }
    TReadDataFieldType sourceType() const { return m_sourceType; }
    TReadDataFieldType destType() const { return m_destType; }
    // The code an error record carries: source kind * 100 + destination kind.
    int code() const { return int(m_sourceType) * 100 + int(m_destType); }

private:
    QString m_conversionMessage;
    QString m_columnName;
    TReadDataFieldType m_sourceType;
    TReadDataFieldType m_destType;
};

// A kind's name as messages show it: "String", "Memo", "TimeStamp".
QString convertFieldTypeName(TReadDataFieldType type);
