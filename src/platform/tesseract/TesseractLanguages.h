#pragma once

#include <QByteArray>
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

// The most a language's data file may hold, 200 MB: Tesseract's published
// models are a few to some tens of megabytes, and Tesseract reads the file
// whole before it looks at it.
inline constexpr long long MaxLanguageDataBytes = 200LL * 1000 * 1000;

// What makes the data file `file` (the name as the system spells it) unfit to
// hand to Tesseract, as the end of a sentence that names the file: "is not a
// regular file." (Tesseract would wait on a pipe forever) or "is ... MB, ...";
// empty when it may be loaded, or when it is missing (that is told apart).
QString languageDataProblem(const QByteArray& file);

// The Debian package that ships the data of a code: "chi_sim" is in
// "tesseract-ocr-chi-sim".
QString debianLanguagePackage(const QString& code);

} // namespace pellix
