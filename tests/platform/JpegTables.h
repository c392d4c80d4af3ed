#pragma once

#include <QByteArray>
#include <algorithm>
#include <array>
#include <optional>

// Reads a JPEG file's quantisation tables, to tell the quality it was written
// with independently of the encoder that wrote it.
namespace jpegtables {

using Table = std::array<int, 64>; // in the file's zigzag order

// The table with the given id (0 luminance, 1 chrominance), if the file has one.
std::optional<Table> readTable(const QByteArray& jpeg, int id);

// The table the IJG scaling gives for a quality, in zigzag order.
Table expectedTable(int id, int quality);

} // namespace jpegtables
