#include "dbaccess/FieldLengthErrorCodeList.h"

#include "foundation/CommonUtils.h"
#include "foundation/KwStringsComponent.h"
#include "foundation/TextUtils.h"
#include "shell/MainDataModule.h"

#include <algorithm>
#include <cstdint>

TFieldLengthErrorCodeList::TFieldLengthErrorCodeList(int kind) : m_kind(kind)
{
    const TKwStringsComponent* table = mainDataModule().table(QStringLiteral("LengthErrorCodeList"));
    const TStringList* lines = table ? table->findSectionLines(dbKindName(kind)) : nullptr;
    if (!lines)
        return;
    for (qsizetype i = 0; i < lines->count(); ++i) {
        qint64 code = 0;
        const bool ok = parseIntegerText(lines->name(i), &code) && code >= INT32_MIN && code <= INT32_MAX;
        m_codes.push_back(ok ? int(code) : -1);
    }
}

bool TFieldLengthErrorCodeList::contains(int code) const
{
    // -1 stands for "no code": never a length error, even beside a malformed line.
    return code != -1 && std::find(m_codes.begin(), m_codes.end(), code) != m_codes.end();
}

bool TLengthErrorCodeCache::isLengthError(int kind, int code)
{
    return code != -1 && listOf(kind).contains(code);
}

const TFieldLengthErrorCodeList& TLengthErrorCodeCache::listOf(int kind)
{
    for (const auto& list : m_lists)
        if (list && list->kind() == kind)
            return *list;
    auto& slot = m_lists[m_older];
    slot = std::make_unique<TFieldLengthErrorCodeList>(kind);
    m_older = 1 - m_older;
    return *slot;
}
