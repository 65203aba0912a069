#include "records/AssignFieldToParam.h"

#include "foundation/Exception.h"
#include "foundation/TextUtils.h"
#include "platform/db/DbParam.h"
#include "platform/db/DbTimeStamp.h"
#include "records/ReadDataField_Hash.h"
#include "records/StoredPayload.h"

namespace {
bool isTextKind(TReadDataFieldType t) { return t == rftString || t == rftMemo; }

DbTimeStamp timeStampOf(double value)
{
    DbTimeStamp out;
    if (!dateTimeToDbTimeStamp(value, &out))
        throw Exception(QStringLiteral("'%1' is not a valid date and time").arg(floatText(value)));
    return out;
}

void setNullParam(DbParam& param, TReadDataFieldType destType, int subtype)
{
    const bool largeObject = destType == rftMemo || destType == rftBlob;
    if (largeObject && subtype != 0)
        param.setNull(TFieldType(subtype));
    else
        param.setNull(fieldTypeOfReadDataType(destType));
}

void setMemo(DbParam& param, bool blankIsNull, int subtype, const IReadDataField& source)
{
    const QString text = source.asString();
    if (subtype == ftOraClob) {
        param.loadLargeObject(text.toUtf8(), ftOraClob);
        return;
    }
    if (blankIsNull && isBlankText(text)) {
        setNullParam(param, rftMemo, subtype);
        return;
    }
    // The empty text too: an untouched parameter would keep the last row's value.
    param.loadLargeObject(textPayload(text), subtype != 0 ? TFieldType(subtype) : ftWideMemo);
}

void setBlob(DbParam& param, bool blankIsNull, int subtype, const IReadDataField& source)
{
    switch (source.dataType()) {
    case rftString: param.setAsString(source.asString()); break;
    case rftInteger: param.setAsInteger(source.asInteger()); break;
    case rftInt64: param.setAsInt64(source.asInt64()); break;
    case rftBoolean: param.setAsBoolean(source.asBoolean()); break;
    case rftFloat: case rftExtended: param.setAsFloat(source.asFloat()); break;
    case rftBCD: param.loadLargeObject(source.asBCD().toByteArray(), subtype != 0 ? TFieldType(subtype) : ftBlob); break;
    case rftDate: case rftTime: case rftDateTime: param.setAsDateTime(timeStampOf(source.asDateTime())); break;
    case rttTimeStamp: param.setAsTimeStamp(dbTimeStampFromSql(source.asSQLTimeStamp())); break;
    case rftBytes: param.setAsBytes(source.asBytes()); break;
    case rftMemo: setMemo(param, blankIsNull, subtype, source); break;
    default: param.loadLargeObject(source.asBytes(), subtype != 0 ? TFieldType(subtype) : ftBlob); break;
    }
}
} // namespace

void assignFieldToParam(DbParam& param, TReadDataFieldType destType, bool blankIsNull, int subtype,
                        const IReadDataField& source)
{
    // A NULL stays NULL, also for a NOT NULL date column: inventing the date
    // 1899-12-30 would store a value the source never had, where the writer's
    // not-null repair or its error record keeps the row honest.
    if (source.isNull()) {
        setNullParam(param, destType, subtype);
        return;
    }
    switch (destType) {
    case rftString:
        if (blankIsNull && isTextKind(source.dataType()) && source.asString().isEmpty())
            setNullParam(param, destType, subtype);
        else
            param.setAsString(source.asString());
        return;
    case rftInteger: case rftExtended: case rftFloat: case rftInt64: case rftBoolean: case rftBCD:
    case rftDate: case rftTime: case rftDateTime:
        if (blankIsNull && isTextKind(source.dataType()) && isBlankText(source.asString())) {
            setNullParam(param, destType, subtype);
            return;
        }
        switch (destType) {
        case rftInteger: param.setAsInteger(source.asInteger()); break;
        case rftInt64: param.setAsInt64(source.asInt64()); break;
        case rftBoolean: param.setAsBoolean(source.asBoolean()); break;
        case rftBCD: param.setAsDecimalText(source.asBCD().toPlainText(u'.')); break;
        case rftDate: param.setAsDate(timeStampOf(source.asDateTime())); break;
        case rftTime: param.setAsTime(timeStampOf(source.asDateTime())); break;
        case rftDateTime: param.setAsDateTime(timeStampOf(source.asDateTime())); break;
        default: param.setAsFloat(source.asFloat()); break;
        }
        return;
    case rftBytes: param.setAsBytes(source.asBytes()); return;
    case rftMemo: setMemo(param, blankIsNull, subtype, source); return;
    case rftBlob: setBlob(param, blankIsNull, subtype, source); return;
    // No other rule applies here; the source value as a timestamp keeps the column filled.
    case rttTimeStamp: param.setAsTimeStamp(dbTimeStampFromSql(source.asSQLTimeStamp())); return;
    default: param.setAsString(source.asString()); return;
    }
}
