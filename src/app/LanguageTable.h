#pragma once

#include <array>
#include <cstdint>

namespace pellix {

struct LanguageRow {
    const char* name;
    std::int32_t id; // the language identifier handed to the recognition engine
};

// The recognition languages in the order of the language list.
inline constexpr std::array<LanguageRow, 22> LanguageTable = {{
    {"English", 9},
    {"Korean", 18},
    {"French", 12},
    {"Spanish", 10},
    {"Japanese", 17},
    {"German", 7},
    {"Russian", 25},
    {"Chinese_simplified", 2052},
    {"Chinese_traditional", 1028},
    {"Czech", 5},
    {"Danish", 6},
    {"Dutch", 19},
    {"Finnish", 11},
    {"Greek", 8},
    {"Hungarian", 14},
    {"Italian", 16},
    {"Norwegian", 20},
    {"Polish", 21},
    {"Portuguese", 22},
    {"Swedish", 29},
    {"Turkish", 31},
    {"Sysdefault", 2048},
}};

// Slots of the language arrays; those past the table stay empty.
inline constexpr int LanguageSlots = 31;

} // namespace pellix
