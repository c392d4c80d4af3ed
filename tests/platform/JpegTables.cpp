#include "JpegTables.h"

namespace jpegtables {

namespace {

// The example tables of the JPEG standard (Annex K), in natural order.
constexpr Table Luminance = {16, 11, 10, 16, 24,  40,  51,  61,  12, 12, 14, 19, 26,  58,  60,  55,
                             14, 13, 16, 24, 40,  57,  69,  56,  14, 17, 22, 29, 51,  87,  80,  62,
                             18, 22, 37, 56, 68,  109, 103, 77,  24, 35, 55, 64, 81,  104, 113, 92,
                             49, 64, 78, 87, 103, 121, 120, 101, 72, 92, 95, 98, 112, 100, 103, 99};
constexpr Table Chrominance = {17, 18, 24, 47, 99, 99, 99, 99, 18, 21, 26, 66, 99, 99, 99, 99,
                               24, 26, 56, 99, 99, 99, 99, 99, 47, 66, 99, 99, 99, 99, 99, 99,
                               99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99,
                               99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99};
constexpr std::array<int, 64> ZigZag = {
    0,  1,  8,  16, 9,  2,  3,  10, 17, 24, 32, 25, 18, 11, 4,  5,  12, 19, 26, 33, 40, 48,
    41, 34, 27, 20, 13, 6,  7,  14, 21, 28, 35, 42, 49, 56, 57, 50, 43, 36, 29, 22, 15, 23,
    30, 37, 44, 51, 58, 59, 52, 45, 38, 31, 39, 46, 53, 60, 61, 54, 47, 55, 62, 63};

int byteAt(const QByteArray& data, qsizetype i) {
    return static_cast<unsigned char>(data[i]);
}

} // namespace

std::optional<Table> readTable(const QByteArray& jpeg, int id) {
    qsizetype i = 2; // past SOI
    while (i + 4 <= jpeg.size() && byteAt(jpeg, i) == 0xFF) {
        const int marker = byteAt(jpeg, i + 1);
        const qsizetype length = byteAt(jpeg, i + 2) * 256 + byteAt(jpeg, i + 3);
        if (marker == 0xDB) {
            qsizetype p = i + 4;
            while (p < i + 2 + length) {
                const int precision = byteAt(jpeg, p) >> 4;
                const int tableId = byteAt(jpeg, p) & 0x0F;
                ++p;
                Table table{};
                for (int k = 0; k < 64; ++k) {
                    table[k] = precision
                                   ? byteAt(jpeg, p + 2 * k) * 256 + byteAt(jpeg, p + 2 * k + 1)
                                   : byteAt(jpeg, p + k);
                }
                if (tableId == id) {
                    return table;
                }
                p += precision ? 128 : 64;
            }
        }
        if (marker == 0xDA) {
            break; // the scan starts: no tables after this point
        }
        i += 2 + length;
    }
    return std::nullopt;
}

Table expectedTable(int id, int quality) {
    const int scale = quality < 50 ? 5000 / quality : 200 - quality * 2;
    const Table& base = id == 0 ? Luminance : Chrominance;
    Table table{};
    for (int k = 0; k < 64; ++k) {
        int q = (base[ZigZag[k]] * scale + 50) / 100;
        table[k] = std::clamp(q, 1, 255);
    }
    return table;
}

} // namespace jpegtables
