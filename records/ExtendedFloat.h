#pragma once
// The 80-bit extended float of stored values: 64-bit mantissa with an explicit
// leading bit, 15-bit exponent (bias 16383), sign; 10 bytes little-endian.
// Converted bit by bit so that nothing depends on the compiler's long double.

#include <QByteArray>
#include <array>
#include <cstdint>

class TExtended {
public:
    static constexpr int kSize = 10;

    TExtended() = default;
    static TExtended fromDouble(double value);
    static TExtended fromInt64(int64_t value); // exact: the mantissa holds 64 bits
    static TExtended fromBytes(const char* tenBytes);

    double toDouble() const; // nearest double; infinity beyond its range
    // The value as a 64-bit integer when it has no fractional part and fits.
    bool toInt64Exact(int64_t* out) const;
    bool isNaN() const;
    QByteArray toByteArray() const;
    const std::array<uint8_t, kSize>& bytes() const { return m_bytes; }

    uint64_t mantissa() const;
    int biasedExponent() const;
    bool negative() const { return (m_bytes[9] & 0x80) != 0; }

    bool operator==(const TExtended& other) const { return m_bytes == other.m_bytes; }

private:
    void set(bool negative, int biasedExponent, uint64_t mantissa);
    std::array<uint8_t, kSize> m_bytes{};
};
