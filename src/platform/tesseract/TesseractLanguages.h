#pragma once

#include <QLocale>
#include <QString>

#include <cstdint>
#include <functional>

namespace pellix {

// The language identifier of "Sysdefault": the language of the user's locale.
inline constexpr std::int32_t SystemDefaultLanguageId = 2048;

// Whether the engine has the data of a Tesseract language code such as "deu".
using LanguageDataCheck = std::function<bool(const QString& code)>;

// Tesseract's code for a language identifier of the language table; empty for
// an identifier outside it. Sysdefault takes the locale's language, and English
// where the locale's language is not in the table or has no data installed.
QString tesseractLanguageCode(std::int32_t languageId, const QLocale& locale,
                              const LanguageDataCheck& hasData);

// The Debian package that ships the data of a code: "chi_sim" is in
// "tesseract-ocr-chi-sim".
QString debianLanguagePackage(const QString& code);

} // namespace pellix
