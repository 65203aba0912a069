#include "dbaccess/ConvertFieldError.h"

#include "foundation/StringResource.h"

namespace {
QString messageOf(const QString& conversionMessage, const QString& columnName, TReadDataFieldType sourceType,
                  TReadDataFieldType destType)
{
    return formatStringResource(5003, {columnName, convertFieldTypeName(sourceType), convertFieldTypeName(destType),
                                       conversionMessage});
}
} // namespace

TConvertFieldError::TConvertFieldError(const QString& conversionMessage, const QString& columnName,
                                       TReadDataFieldType sourceType, TReadDataFieldType destType)
    : Exception(messageOf(conversionMessage, columnName, sourceType, destType)),
      m_conversionMessage(conversionMessage), m_columnName(columnName), m_sourceType(sourceType),
      m_destType(destType)
{
}

QString convertFieldTypeName(TReadDataFieldType type)
{
    // Every enumerator carries a three-letter family prefix ("rft", once "rtt").
    const QString name = readDataFieldTypeName(type);
    return name.startsWith(QLatin1String("rft")) || name.startsWith(QLatin1String("rtt")) ? name.mid(3) : name;
}
