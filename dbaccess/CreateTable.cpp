#include "dbaccess/CreateTable.h"

#include "foundation/DbKind.h"
#include "foundation/StringList.h"
#include "records/FieldMetadata.h"
#include "records/IndexMetadata.h"
#include "records/TableMetadata.h"
#include "shell/DBOption.h"
#include "shell/TypeMapping.h"

#include <QStringList>

namespace {

constexpr int kOracleNameMax = 30;
// Widest exact decimal of MySQL: 65 digits, at most 30 of them after the point.
constexpr int kMySqlDecimalDigits = 65;
constexpr int kMySqlDecimalScale = 30;

bool isBinaryFloatType(const QString& typeName)
{
    for (const char* name : {"FLOAT", "DOUBLE", "REAL", "DOUBLE PRECISION"})
        if (typeName.compare(QLatin1String(name), Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

// Letters, digits, '_', '$' and '#', not starting with a digit: a name that
// reads as one token in every dialect, so it may go unquoted.
bool isPlainIdentifier(const QString& name)
{
    if (name.isEmpty() || name.at(0).isDigit())
        return false;
    for (const QChar c : name)
        if (!c.isLetterOrNumber() && c != u'_' && c != u'$' && c != u'#')
            return false;
    return true;
}

QString pair(int a, int b) { return QStringLiteral("(%1,%2)").arg(a).arg(b); }
QString single(int a) { return QStringLiteral("(%1)").arg(a); }

// "(p,s)" of a scope-class column. Unknown precision or scale must neither
// produce an invalid "(-1,-1)" nor lose digits: a binary float then takes no
// size part (its own full precision), a MySQL exact decimal the widest form
// DECIMAL(65,30) or DECIMAL(65,s) with the known scale; other kinds take the
// type's own default.
QString scopeSizePart(int kind, const QString& typeName, int precision, int scale)
{
    const bool binaryFloat = isBinaryFloatType(typeName);
    if (kind == dbkind::MySQL && !binaryFloat) {
        const bool valid = precision >= 1 && precision <= kMySqlDecimalDigits && scale >= 0 &&
                           scale <= kMySqlDecimalScale && scale <= precision;
        if (valid)
            return pair(precision, scale);
        if (precision >= 1 && precision <= kMySqlDecimalDigits && scale < 0)
            return pair(kMySqlDecimalDigits, kMySqlDecimalScale);
        const int s = scale < 0 ? kMySqlDecimalScale : std::min(scale, kMySqlDecimalScale);
        return pair(kMySqlDecimalDigits, s);
    }
    if (precision < 1 || scale < 0)
        return {};
    if (binaryFloat && scale > precision)
        return {};
    return pair(precision, scale);
}

} // namespace

TAbsCreateTable::TAbsCreateTable(int kind) : m_kind(kind) {}

TAbsCreateTable::~TAbsCreateTable() = default;

QString TAbsCreateTable::getOpenQuote() const { return {}; }

QString TAbsCreateTable::getCloseQuote() const { return {}; }

QString TAbsCreateTable::getSeparator() const { return QStringLiteral(","); }

QString TAbsCreateTable::getNotNullText() const { return QStringLiteral("NOT NULL"); }

QString TAbsCreateTable::getColumnDefinitions() const
{
    QStringList columns;
    if (m_fields) {
        for (int i = 0; i < m_fields->getCount(); ++i) {
            const TFieldMetadata& f = *m_fields->getItem(i);
            columns << QStringLiteral("%1 %2%3 %4")
                           .arg(columnNameForm(f.getName()), f.getTypeName(), sizePart(f), notNullPart(f));
        }
    }
    return columns.join(getSeparator());
}

QString TAbsCreateTable::getCreateTableName() const
{
    return fullTableName(m_table ? m_table->name : QString());
}

QString TAbsCreateTable::getPrimaryKeyColumns() const
{
    if (!hasUsablePrimaryKey(m_indexes))
        return {};
    const IIndexMetadata* primary = m_indexes->primaryIndex();
    QStringList names;
    for (int i = 0; i < primary->fieldCount(); ++i)
        names << columnNameForm(primary->fieldAt(i)->destName);
    return names.join(getSeparator());
}

QString TAbsCreateTable::getPrimaryKeyClause() const
{
    return QStringLiteral("PRIMARY KEY  (%1)").arg(getPrimaryKeyColumns());
}

bool TAbsCreateTable::inlinePrimaryKey() const { return true; }

QString TAbsCreateTable::getTableSuffix() const { return {}; }

QString TAbsCreateTable::getCreateTableSQL(TTableMetadata& table, TFieldMetadataList& fields,
                                           TIndexMetadataList* indexes)
{
    m_table = &table;
    m_fields = &fields;
    m_indexes = indexes;
    QString keyPart;
    if (inlinePrimaryKey() && hasUsablePrimaryKey(indexes))
        keyPart = getSeparator() + getPrimaryKeyClause();
    return QStringLiteral("CREATE TABLE  %1 (%2  %3)").arg(getCreateTableName(), getColumnDefinitions(), keyPart);
}

QString TAbsCreateTable::getAddPrimaryKeySQL(const QString& constraintName) const
{
    return QStringLiteral("ALTER TABLE %1 ADD CONSTRAINT %2 PRIMARY KEY (%3)")
        .arg(getCreateTableName(), columnNameForm(constraintName), getPrimaryKeyColumns());
}

// Names come from configuration files: a closing quote inside one is doubled,
// so that it cannot end the quoted name and let the rest run as SQL.
QString TAbsCreateTable::quotedName(const QString& name) const
{
    QString open = getOpenQuote();
    QString close = getCloseQuote();
    if (close.isEmpty()) {
        // A dialect that quotes nothing still reads the standard quotes.
        open = close = QStringLiteral("\"");
    }
    QString inner = name;
    inner.replace(close, close + close);
    return open + inner + close;
}

// Without the quoting option only plain identifiers go bare: any other name
// (blanks, ';', quotes, a dot) would be read as SQL.
QString TAbsCreateTable::nameForm(const QString& name) const
{
    if (dbOption().quoteNames)
        return getCloseQuote().isEmpty() && isPlainIdentifier(name) ? name : quotedName(name);
    return isPlainIdentifier(name) ? name : quotedName(name);
}

QString TAbsCreateTable::columnNameForm(const QString& name) const
{
    return nameForm(dbOption().upperCaseNames ? name.toUpper() : name);
}

QString TAbsCreateTable::tableNameForm(const QString& name) const { return nameForm(tableNameUnquoted(name)); }

QString TAbsCreateTable::tableNameUnquoted(const QString& name) const
{
    return (dbOption().upperCaseNames ? name.toUpper() : name) + getTableSuffix();
}

QString TAbsCreateTable::fullTableName(const QString& name) const
{
    const TDBOption& o = dbOption();
    return tableNameForm(o.timeSuffix ? name + o.suffixText : name);
}

QString TAbsCreateTable::columnTypeText(const TFieldMetadata& field) const
{
    return QStringLiteral(" %1%2 ").arg(field.getTypeName(), sizePart(field));
}

QString TAbsCreateTable::columnTypeTextWithLength(const TFieldMetadata& field, int precision, int length) const
{
    std::unique_ptr<TFieldMetadata> copy = field.clone();
    copy->setPrecision(precision);
    copy->setLength(length);
    return columnTypeText(*copy);
}

QString TAbsCreateTable::sizePart(const TFieldMetadata& field) const
{
    const QString& type = field.getTypeName();
    switch (fieldScopeOf(m_kind, type)) {
    case scLength:
        return single(field.getLength());
    case scInteger:
        return single(field.getPrecision());
    case scScope:
        return scopeSizePart(m_kind, type, field.getPrecision(), field.getScale());
    case scAutoDetect: {
        int precision = field.getPrecision();
        int scale = field.getScale();
        autoDetectLength(m_kind, type, precision, scale);
        if (field.getPrecision() == -1)
            return field.getLength() == -1 ? single(1) : single(field.getLength());
        if (field.getScale() == -1)
            return single(field.getPrecision());
        return pair(precision, scale);
    }
    default:
        return {};
    }
}

bool TAbsCreateTable::neverNotNull(const QString& typeName) const
{
    return isNotModifyFieldType(m_kind, typeName);
}

QString TAbsCreateTable::notNullPart(const TFieldMetadata& field) const
{
    return field.getNotNull() && !neverNotNull(field.getTypeName()) ? getNotNullText() : QString();
}

QString TExcelCreateTable::getTableSuffix() const
{
    return m_csvFile ? QString() : QStringLiteral("$");
}

std::unique_ptr<TAbsCreateTable> createTableGenerator(int kind)
{
    switch (kind) {
    case dbkind::MySQL:
        return std::make_unique<TMySQLCreateTable>(kind);
    case dbkind::Oracle:
        return std::make_unique<TOracleCreateTable>(kind);
    case dbkind::Access:
    case dbkind::MSSQL:
        return std::make_unique<TAccessCreateTable>(kind);
    case dbkind::Excel:
        return std::make_unique<TExcelCreateTable>(kind);
    default:
        return std::make_unique<TCommonCreateTable>(kind);
    }
}

bool hasUsablePrimaryKey(const TIndexMetadataList* indexes)
{
    const IIndexMetadata* primary = indexes ? indexes->primaryIndex() : nullptr;
    return primary && !primary->skipped && primary->fieldCount() > 0;
}

QString indexColumnList(const IIndexMetadata& index, const TAbsCreateTable* generator, bool useSourceNames)
{
    QStringList columns;
    for (int i = 0; i < index.fieldCount(); ++i) {
        const IIndexField& f = *index.fieldAt(i);
        const QString& name = useSourceNames ? f.sourceName : f.destName;
        columns << (generator ? generator->columnNameForm(name) : name) +
                       (f.descending ? QStringLiteral(" DESC") : QStringLiteral(" ASC"));
    }
    return columns.join(u',');
}

QString uniqueIndexName(const TAbsCreateTable& generator, const QString& base, const TStringList* known)
{
    for (int n = 0;; ++n) {
        const QString counter = n > 0 ? QString::number(n) : QString();
        QString candidate = base + counter;
        if (generator.kind() == dbkind::Oracle && candidate.size() > kOracleNameMax)
            candidate = base.left(std::min<qsizetype>(base.size(), kOracleNameMax - counter.size())) + counter;
        if (!known || known->indexOf(candidate) < 0)
            return candidate;
    }
}
