#pragma once

#include <array>
#include <cstdint>

namespace pellix {

// One recognition language. Empty texts where a row has no such thing:
// Sysdefault names no language of its own.
struct LanguageRow {
    const char* name;          // in the language list
    std::int32_t id;           // the language identifier handed to the recognition engine
    const char* tesseractCode; // the engine's language data, such as "chi_sim"
    // The locale languages Sysdefault picks this row for: ISO 639 codes, each
    // with an optional script after a hyphen ("zh-Hant"), separated by spaces.
    const char* locales;
    const char* debianPackage; // the package that ships the data
};

// The recognition languages in the order of the language list; the rows come
// from resources/languages.tsv, which scripts/install-deps.sh reads too.
inline constexpr auto LanguageTable = std::to_array<LanguageRow>({
#include "LanguageRows.inc"
});

// Slots of the main window's language arrays; those past the table stay empty.
inline constexpr int LanguageSlots = 31;

} // namespace pellix
