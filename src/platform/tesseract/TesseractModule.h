#pragma once

namespace pellix {

class RecognitionEngine;

// The Tesseract engine lives in a module of its own, loaded at run time, so the
// OpenMP runtime it pulls in reads the thread settings the program made first.
inline constexpr char TesseractModuleName[] = "pellix_tesseract";
inline constexpr char TesseractModuleEntry[] = "pellix_create_recognition_engine";

// The entry point's type: a new engine that the caller owns.
using CreateRecognitionEngine = RecognitionEngine* (*)();

} // namespace pellix
