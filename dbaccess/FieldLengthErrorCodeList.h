#pragma once
// The database error codes that mean "value too long for its column", per
// database kind, from the shipped table "LengthErrorCodeList" (line names are
// the codes; their values are notes).

#include <array>
#include <memory>
#include <vector>

class TFieldLengthErrorCodeList {
public:
    explicit TFieldLengthErrorCodeList(int kind);

    int kind() const { return m_kind; }
    const std::vector<int>& codes() const { return m_codes; }
    bool contains(int code) const;

private:
    int m_kind;
    std::vector<int> m_codes; // -1 for a line name that is no integer
};

// The lists of the last two kinds asked for; a third kind replaces the older.
class TLengthErrorCodeCache {
public:
    bool isLengthError(int kind, int code);

private:
    const TFieldLengthErrorCodeList& listOf(int kind);

    std::array<std::unique_ptr<TFieldLengthErrorCodeList>, 2> m_lists;
    int m_older = 0; // slot replaced next
};
