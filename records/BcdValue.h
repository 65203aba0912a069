#pragma once
// The 34-byte BCD record of stored values: precision (digits held), sign and
// places (bit 7 negative, low 6 bits decimal places), then 64 packed decimal
// digits, two per byte, high nibble first.

#include <QByteArray>
#include <QString>
#include <array>
#include <cstdint>

class TBcd {
public:
    static constexpr int kSize = 34;
    static constexpr int kMaxDigits = 64;

    TBcd() = default; // the zero BCD: every byte 0
    static TBcd fromBytes(const char* bytes34);
    static TBcd fromInt64(int64_t value);
    // Plain decimal notation: optional sign, digits, optionally the decimal
    // separator and more digits. False when the text is not one or does not fit.
    static bool fromPlainText(const QString& text, QChar decimalSeparator, TBcd* out);
    // The double's shortest form with up to 15 significant digits; false for
    // infinities, NaN and values that need more than 64 digits.
    static bool fromDouble(double value, TBcd* out);

    // False when the record is damaged (a nibble above 9, places above precision).
    bool isValid() const;
    bool negative() const { return (m_bytes[1] & 0x80) != 0; }
    int places() const { return m_bytes[1] & 0x3F; }
    int precision() const { return m_bytes[0]; }
    // Plain decimal text; the record must be valid.
    QString toPlainText(QChar decimalSeparator) const;
    double toDouble() const;
    QByteArray toByteArray() const;
    const std::array<uint8_t, kSize>& bytes() const { return m_bytes; }

    bool operator==(const TBcd& other) const { return m_bytes == other.m_bytes; }

private:
    static bool fromDigits(bool negative, const QString& intDigits, const QString& fracDigits, TBcd* out);
    int digitAt(int index) const;
    std::array<uint8_t, kSize> m_bytes{};
};
