#include "records/ExtendedFloat.h"

#include <bit>
#include <cmath>
#include <cstring>

namespace {
constexpr int kBias = 16383;
constexpr int kMaxExponent = 0x7FFF;
constexpr uint64_t kLeadingBit = uint64_t(1) << 63;
} // namespace

void TExtended::set(bool negative, int biasedExponent, uint64_t mantissa)
{
    for (int i = 0; i < 8; ++i)
        m_bytes[i] = uint8_t(mantissa >> (8 * i));
    const uint16_t top = uint16_t((negative ? 0x8000 : 0) | (biasedExponent & kMaxExponent));
    m_bytes[8] = uint8_t(top);
    m_bytes[9] = uint8_t(top >> 8);
}

uint64_t TExtended::mantissa() const
{
    uint64_t m = 0;
    for (int i = 7; i >= 0; --i)
        m = (m << 8) | m_bytes[i];
    return m;
}

int TExtended::biasedExponent() const
{
    return ((m_bytes[9] & 0x7F) << 8) | m_bytes[8];
}

TExtended TExtended::fromDouble(double value)
{
    uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    const bool negative = (bits >> 63) != 0;
    const int exponent = int((bits >> 52) & 0x7FF);
    const uint64_t fraction = bits & ((uint64_t(1) << 52) - 1);
    TExtended out;
    if (exponent == 0x7FF) {
        out.set(negative, kMaxExponent, fraction == 0 ? kLeadingBit : (kLeadingBit | (uint64_t(1) << 62) | (fraction << 11)));
    } else if (exponent == 0) {
        if (fraction == 0) {
            out.set(negative, 0, 0);
        } else {
            // Subnormal double: the value is fraction * 2^-1074; normalise it.
            const int top = 63 - std::countl_zero(fraction);
            out.set(negative, top - 1074 + kBias, fraction << (63 - top));
        }
    } else {
        out.set(negative, exponent - 1023 + kBias, kLeadingBit | (fraction << 11));
    }
    return out;
}

TExtended TExtended::fromInt64(int64_t value)
{
    TExtended out;
    if (value == 0)
        return out;
    const bool negative = value < 0;
    const uint64_t magnitude = negative ? uint64_t(0) - uint64_t(value) : uint64_t(value);
    const int top = 63 - std::countl_zero(magnitude);
    out.set(negative, kBias + top, magnitude << (63 - top));
    return out;
}

TExtended TExtended::fromBytes(const char* tenBytes)
{
    TExtended out;
    std::memcpy(out.m_bytes.data(), tenBytes, kSize);
    return out;
}

QByteArray TExtended::toByteArray() const
{
    return QByteArray(reinterpret_cast<const char*>(m_bytes.data()), kSize);
}

bool TExtended::isNaN() const
{
    return biasedExponent() == kMaxExponent && (mantissa() & ~kLeadingBit) != 0;
}

double TExtended::toDouble() const
{
    const int exponent = biasedExponent();
    const uint64_t m = mantissa();
    const double sign = negative() ? -1.0 : 1.0;
    if (exponent == kMaxExponent)
        return (m & ~kLeadingBit) == 0 ? sign * HUGE_VAL : std::nan("");
    if (m == 0)
        return sign * 0.0;
    // Round the 64-bit mantissa to 53 bits once, by hand, then scale exactly.
    const int effective = (exponent == 0 ? 1 : exponent) - kBias - 63;
    const int lead = 63 - std::countl_zero(m);
    if (lead <= 52)
        return sign * std::ldexp(double(m), effective);
    const int drop = lead - 52;
    uint64_t kept = m >> drop;
    const uint64_t rest = m & ((uint64_t(1) << drop) - 1);
    const uint64_t half = uint64_t(1) << (drop - 1);
    if (rest > half || (rest == half && (kept & 1)))
        ++kept;
    return sign * std::ldexp(double(kept), effective + drop);
}

bool TExtended::toInt64Exact(int64_t* out) const
{
    const int exponent = biasedExponent();
    const uint64_t m = mantissa();
    if (exponent == kMaxExponent)
        return false;
    if (m == 0) {
        *out = 0;
        return true;
    }
    const int shift = (exponent == 0 ? 1 : exponent) - kBias - 63; // value = m * 2^shift
    uint64_t magnitude;
    if (shift >= 0) {
        if (shift > 0 && (shift >= 64 || (m >> (64 - shift)) != 0))
            return false;
        magnitude = m << shift;
    } else {
        if (shift <= -64)
            return false; // a non-zero value below 1
        if ((m & ((uint64_t(1) << -shift) - 1)) != 0)
            return false;
        magnitude = m >> -shift;
    }
    if (negative()) {
        if (magnitude > (uint64_t(1) << 63))
            return false;
        *out = int64_t(uint64_t(0) - magnitude);
    } else {
        if (magnitude > uint64_t(INT64_MAX))
            return false;
        *out = int64_t(magnitude);
    }
    return true;
}
