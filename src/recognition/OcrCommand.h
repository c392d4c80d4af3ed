#pragma once

#include "platform/RecognitionEngine.h"

#include <QStringList>

#include <cstdint>
#include <cstdio>
#include <optional>

namespace pellix {

// Exit statuses of pellix-ocr.
namespace OcrExit {
constexpr int Success = 0;
constexpr int FileFailed = 1;   // a file was missing, unreadable or not an image
constexpr int Usage = 2;        // bad option or unknown language
constexpr int EngineFailed = 3; // language data or the engine itself missing
} // namespace OcrExit

// The language identifier for a display name of the language list (any case)
// or for one of its identifiers written as a decimal number.
std::optional<std::int32_t> parseLanguage(const QString& nameOrId);

// pellix-ocr [--lang NAME|ID] [--deskew] FILE...: prints each file's text on
// `out`; messages, and progress when `showProgress`, on `err`.
int runOcrCommand(const QStringList& arguments, RecognitionEngine& engine, std::FILE* out,
                  std::FILE* err, bool showProgress);

} // namespace pellix
