#pragma once

#include "platform/RecognitionEngine.h"

#include <QLibrary>
#include <QStringList>

#include <memory>
#include <mutex>
#include <optional>

namespace pellix {

// The recognition engine of the Tesseract module, loaded on first use from the
// program's library folder, so that programs which never recognize anything
// never load Tesseract, and a missing library is an error we can word.
class ModuleRecognitionEngine final : public RecognitionEngine {
public:
    // `programFolder` is the folder of the running executable.
    explicit ModuleRecognitionEngine(QString programFolder);
    ~ModuleRecognitionEngine() override;

    std::unique_ptr<RecognitionDocument> createDocument(const QByteArray& fileName) override;

    // The folders searched for the module, in order.
    QStringList moduleFolders() const;

private:
    RecognitionEngine& engine();

    QString m_programFolder;
    std::mutex m_loading;
    QLibrary m_library;
    std::unique_ptr<RecognitionEngine> m_engine;
    std::optional<QString> m_loadError;
};

// Limits the OpenMP runtime that Tesseract uses to one thread: recognition
// runs on our own threads, and the runtime's extra threads only make it several
// times slower. The runtime reads its settings once, when it loads, and Qt
// Core already loads it (through libb2), so when the limit is not in the
// environment yet this sets it and starts the program image anew with the same
// arguments. Call it first thing in main(). Returns only when the limit holds,
// or when the new start failed. Once the runtime has read the limit, the
// user's own value is put back, so programs Pellix starts do not inherit it.
void limitEngineThreads(char* argv[]);

} // namespace pellix
