#include "records/ReadDataFieldType.h"

#include "foundation/Exception.h"
#include "foundation/TextFormat.h"

TReadDataFieldType readDataFieldTypeOf(int fieldType)
{
    switch (fieldType) {
    case ftUnknown: case ftString: case ftFixedChar: case ftWideString: case ftFixedWideChar:
        return rftString;
    case ftSmallint: case ftInteger: case ftWord: case ftAutoInc: case ftLongWord: case ftShortint: case ftByte:
        return rftInteger;
    case ftExtended: return rftExtended;
    case ftLargeint: return rftInt64;
    case ftBoolean: return rftBoolean;
    case ftFloat: case ftCurrency: return rftFloat;
    case ftBCD: case ftFMTBcd: return rftBCD;
    case ftDate: return rftDate;
    case ftTime: return rftTime;
    case ftDateTime: return rftDateTime;
    case ftTimeStamp: case ftOraTimeStamp: return rttTimeStamp;
    // A span of time, not a point in time: it travels in the source's own text form.
    case ftOraInterval: return rftString;
    case ftBytes: case ftVarBytes: return rftBytes;
    case ftMemo: case ftFmtMemo: case ftOraClob: case ftWideMemo: return rftMemo;
    case ftBlob: case ftGraphic: case ftTypedBinary: case ftOraBlob: case ftStream: return rftBlob;
    default: return rftUnknown;
    }
}

TFieldType fieldTypeOfReadDataType(TReadDataFieldType type)
{
    static const TFieldType back[] = {ftUnknown, ftString, ftInteger, ftExtended, ftLargeint, ftBoolean,
                                      ftFloat, ftBCD, ftDate, ftTime, ftDateTime, ftTimeStamp, ftBytes,
                                      ftMemo, ftBlob};
    return type <= rftBlob ? back[type] : ftUnknown;
}

QString readDataFieldTypeName(TReadDataFieldType type)
{
    static const char* const names[] = {"rftUnknown", "rftString", "rftInteger", "rftExtended", "rftInt64",
                                        "rftBoolean", "rftFloat", "rftBCD", "rftDate", "rftTime",
                                        "rftDateTime", "rttTimeStamp", "rftBytes", "rftMemo", "rftBlob"};
    return type <= rftBlob ? QString::fromLatin1(names[type]) : QString::number(int(type));
}

void raiseCantConvertFieldType(const QString& fieldName, int fieldType)
{
    throw Exception(formatText(QStringLiteral("Can't convert field type  field name=%s field type=%s"),
                               {fieldName, fieldTypeName(fieldType)}));
}

TReadDataFieldType requireReadDataFieldType(const QString& fieldName, int fieldType)
{
    const TReadDataFieldType type = readDataFieldTypeOf(fieldType);
    if (type == rftUnknown)
        raiseCantConvertFieldType(fieldName, fieldType);
    return type;
}

bool isStringFieldType(int t)
{
    return t == ftUnknown || t == ftString || t == ftFixedChar || t == ftWideString || t == ftFixedWideChar;
}

bool isMemoFieldType(int t)
{
    return t == ftMemo || t == ftFmtMemo || t == ftOraClob || t == ftWideMemo;
}

bool isBytesFieldType(int t)
{
    return t == ftBytes || t == ftVarBytes;
}

bool isBinaryBlobFieldType(int t)
{
    return t == ftBlob || t == ftGraphic || t == ftTypedBinary || t == ftOraBlob || t == ftStream;
}
