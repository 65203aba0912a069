#include "shell/TypeMapping.h"

#include "foundation/CommonUtils.h"
#include "foundation/KwStringsComponent.h"
#include "foundation/StringList.h"
#include "shell/MainDataModule.h"

namespace {

const TKwStringsComponent* shippedTable(const char* name)
{
    return mainDataModule().table(QString::fromLatin1(name));
}

// The value of the name in the section, or the empty text when the section or
// the line is missing.
QString sectionValue(const TKwStringsComponent* table, const QString& section, const QString& name)
{
    const TStringList* lines = table && !section.isEmpty() ? table->findSectionLines(section) : nullptr;
    return lines ? lines->value(name) : QString();
}

bool isInteger(const QString& text)
{
    bool ok = false;
    text.trimmed().toInt(&ok);
    return ok;
}

struct Bounds {
    bool present = false;
    QString lower;
    QString upper;
};

// A bounds line is usable only when it holds a ','.
Bounds boundsOf(const TStringList* section, const QString& typeName)
{
    Bounds b;
    if (!section)
        return b;
    const QString value = section->value(typeName);
    const qsizetype comma = value.indexOf(u',');
    if (value.trimmed().isEmpty() || comma < 0)
        return b;
    b.present = true;
    b.lower = value.left(comma);
    b.upper = value.mid(comma + 1);
    return b;
}

// Clamps value into the evaluated bounds and returns the upper bound. maxWord
// and otherWord name the other value's upper bound and its current value.
int clampInto(const Bounds& b, const QString& maxWord, int maxValue, const QString& otherWord, int otherValue,
              int& value)
{
    auto eval = [&](const QString& text) {
        // The longer word first, so that "ScopeMax" is not read as "Scope" + "Max".
        return evaluateBoundText(replaceBoundWord(replaceBoundWord(text, maxWord, maxValue), otherWord, otherValue));
    };
    const int lower = eval(b.lower);
    const int upper = eval(b.upper);
    if (value < lower)
        value = lower;
    if (value > upper)
        value = upper;
    return upper;
}

} // namespace

int scopeClassOfWord(const QString& word)
{
    static const struct {
        const char* word;
        int scope;
    } words[] = {{"type", scType}, {"length", scLength}, {"integer", scInteger}, {"scope", scScope},
                 {"AutoDetect", scAutoDetect}};
    for (const auto& w : words)
        if (word.compare(QLatin1String(w.word), Qt::CaseInsensitive) == 0)
            return w.scope;
    return scNone;
}

int fieldScopeIn(const TKwStringsComponent* table, int kind, const QString& typeName)
{
    if (!table)
        return scType;
    for (const QString& section : {dbKindName(kind), QStringLiteral("Default")}) {
        const TStringList* lines = section.isEmpty() ? nullptr : table->findSectionLines(section);
        if (lines && lines->contains(typeName))
            return scopeClassOfWord(lines->value(typeName));
    }
    return scType;
}

QString fieldTypeNameIn(const TKwStringsComponent* table, int kind, TFieldType fieldType)
{
    const QString name = fieldTypeName(fieldType);
    if (!name.isEmpty()) {
        QString result = sectionValue(table, dbKindName(kind), name);
        if (result.isEmpty())
            result = sectionValue(table, QStringLiteral("Default"), name);
        if (!result.isEmpty())
            return result;
    }
    return QStringLiteral("varchar");
}

bool autoDetectLengthIn(const TKwStringsComponent* table, int kind, const QString& typeName, int& precision,
                        int& scale)
{
    const QString kindName = dbKindName(kind);
    if (!table || kindName.isEmpty())
        return false;
    const TStringList* pSection = table->findSectionLines(kindName + QStringLiteral("_Precision"));
    const TStringList* sSection = table->findSectionLines(kindName + QStringLiteral("_Scope"));
    const Bounds p = boundsOf(pSection, typeName);
    const Bounds s = boundsOf(sSection, typeName);
    // Precision first unless its bounds refer to the scale, which then has to be
    // clamped before.
    const bool precisionFirst =
        p.present && (!sSection || sSection->value(typeName).trimmed().isEmpty() ||
                      (isInteger(p.lower) && isInteger(p.upper)));
    const int oldPrecision = precision;
    const int oldScale = scale;
    int precisionMax = 0;
    int scopeMax = 0;
    auto clampPrecision = [&] {
        if (p.present)
            precisionMax = clampInto(p, QStringLiteral("ScopeMax"), scopeMax, QStringLiteral("Scope"), scale, precision);
    };
    auto clampScale = [&] {
        if (s.present)
            scopeMax = clampInto(s, QStringLiteral("PrecisionMax"), precisionMax, QStringLiteral("Precision"), precision,
                                 scale);
    };
    if (precisionFirst) {
        clampPrecision();
        clampScale();
    } else {
        clampScale();
        clampPrecision();
    }
    return precision != oldPrecision || scale != oldScale;
}

int fieldScopeOf(int kind, const QString& typeName)
{
    return fieldScopeIn(shippedTable("creatTableFieldScopeDef"), kind, typeName);
}

QString fieldTypeNameOf(int kind, TFieldType fieldType)
{
    return fieldTypeNameIn(shippedTable("FieldMapping"), kind, fieldType);
}

bool autoDetectLength(int kind, const QString& typeName, int& precision, int& scale)
{
    return autoDetectLengthIn(shippedTable("AutoDetectLen"), kind, typeName, precision, scale);
}

bool isNotModifyFieldType(int kind, const QString& typeName)
{
    const TKwStringsComponent* table = shippedTable("notModifyFieldType");
    const QString section = dbKindName(kind);
    const TStringList* lines = table && !section.isEmpty() ? table->findSectionLines(section) : nullptr;
    return lines && !typeName.isEmpty() && lines->indexOf(typeName) >= 0;
}

int evaluateBoundText(const QString& text)
{
    auto toInt = [](const QString& t) {
        bool ok = false;
        const int v = t.trimmed().toInt(&ok);
        return ok ? v : 0;
    };
    const qsizetype dash = text.indexOf(u'-');
    if (dash < 0)
        return toInt(text);
    return toInt(text.left(dash)) - toInt(text.mid(dash + 1));
}

QString replaceBoundWord(const QString& text, const QString& word, int value)
{
    QString out = text;
    return out.replace(word, QString::number(value), Qt::CaseInsensitive);
}
