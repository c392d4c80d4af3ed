#pragma once

#include "platform/RecognitionEngine.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <cstdint>
#include <cstdio>
#include <optional>

namespace pellix {

// Exit statuses of pellix-ocr. With several files, a file that fails does not
// stop the others and the status is that of the first failure; a failure of the
// engine or of the output ends the command at once.
namespace OcrExit {
constexpr int Success = 0;
constexpr int FileFailed = 1;    // a file was missing, unreadable or not an image
constexpr int Usage = 2;         // bad option or unknown language
constexpr int EngineFailed = 3;  // language data or the engine itself missing
constexpr int ImageTooLarge = 4; // a page of more pixels than are read
constexpr int OutputFailed = 5;  // standard output could not take the text
} // namespace OcrExit

// The language identifier for a display name of the language list (any case)
// or for one of its identifiers written as a plain decimal number.
std::optional<std::int32_t> parseLanguage(const QString& nameOrId);

// pellix-ocr [--lang NAME|ID] [--deskew] [--] FILE...: prints each file's
// text on `out`, after a line "==> FILE <==" when there are several files;
// messages, and progress when `showProgress`, on `err`. `arguments` are the
// bytes the system gave, so that any file name can be read.
int runOcrCommand(const QList<QByteArray>& arguments, RecognitionEngine& engine, std::FILE* out,
                  std::FILE* err, bool showProgress);

} // namespace pellix
