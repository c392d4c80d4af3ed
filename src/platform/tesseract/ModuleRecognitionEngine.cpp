#include "platform/tesseract/ModuleRecognitionEngine.h"

#include "platform/Error.h"
#include "platform/tesseract/TesseractModule.h"

#include <QDir>
#include <QFileInfo>

#include <climits>
#include <cstdlib>
#include <cstring>
#include <dlfcn.h>
#include <unistd.h>

namespace pellix {

namespace {

constexpr const char* RestartMarker = "PELLIX_ENGINE_THREADS_LIMITED";
constexpr const char* SavedLimit = "PELLIX_USER_OMP_THREAD_LIMIT";

// Programs started from Pellix (the image viewer, the PDF viewer) get the
// user's own setting back. That is safe only once the OpenMP runtime has read
// the limit, which it does when it loads; while it is not loaded yet, the
// limit stays for the engine module that will load it.
void restoreUserLimit() {
    if (dlopen("libgomp.so.1", RTLD_NOW | RTLD_NOLOAD) == nullptr) {
        return;
    }
    if (const char* saved = std::getenv(SavedLimit)) {
        setenv("OMP_THREAD_LIMIT", saved, 1);
    } else {
        unsetenv("OMP_THREAD_LIMIT");
    }
    unsetenv(SavedLimit);
    unsetenv(RestartMarker);
}

} // namespace

void limitEngineThreads(char* argv[]) {
    if (std::getenv(RestartMarker) != nullptr) {
        restoreUserLimit();
        return;
    }
    const char* limit = std::getenv("OMP_THREAD_LIMIT");
    if (limit != nullptr && std::strcmp(limit, "1") == 0) {
        return;
    }
    // Overrides whatever the user's environment holds, for this program only.
    if (limit != nullptr) {
        setenv(SavedLimit, limit, 1);
    }
    setenv(RestartMarker, "1", 1);
    setenv("OMP_THREAD_LIMIT", "1", 1);
    // The kernel names a process after the file it executes; started as
    // /proc/self/exe the program would be "exe" to ps, top and pgrep. The
    // file's own path keeps the name; /proc/self/exe is left for when that
    // file is gone (deleted, or renamed by an upgrade).
    char path[PATH_MAX];
    const ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
    if (length > 0) {
        path[length] = '\0';
        execv(path, argv);
    }
    execv("/proc/self/exe", argv);
    restoreUserLimit(); // the new start failed: go on as we are
}

ModuleRecognitionEngine::ModuleRecognitionEngine(QString programFolder)
    : m_programFolder(std::move(programFolder)) {}

// The engine's objects come from the module, so they go before it does; the
// module itself stays mapped until the process ends.
ModuleRecognitionEngine::~ModuleRecognitionEngine() = default;

QStringList ModuleRecognitionEngine::moduleFolders() const {
    // The library folder as seen from the program folder: the build tree is laid
    // out as an installed prefix, and a moved prefix keeps working.
    return {QDir::cleanPath(m_programFolder + QStringLiteral("/") +
                            QStringLiteral(PELLIX_MODULE_DIR_FROM_BIN))};
}

RecognitionEngine& ModuleRecognitionEngine::engine() {
    std::scoped_lock lock(m_loading);
    if (m_engine) {
        return *m_engine;
    }
    if (!m_loadError) {
        const QString fileName = QStringLiteral("lib") + QString::fromLatin1(TesseractModuleName) +
                                 QStringLiteral(".so");
        QString found;
        for (const QString& folder : moduleFolders()) {
            if (QFileInfo::exists(folder + QStringLiteral("/") + fileName)) {
                found = folder + QStringLiteral("/") + fileName;
                break;
            }
        }
        if (found.isEmpty()) {
            m_loadError = QStringLiteral("The Tesseract module %1 is not in %2. Reinstall Pellix.")
                              .arg(fileName, moduleFolders().join(QStringLiteral(" or ")));
        } else {
            m_library.setFileName(found);
            auto create =
                reinterpret_cast<CreateRecognitionEngine>(m_library.resolve(TesseractModuleEntry));
            if (create == nullptr) {
                // Typically libtesseract5 itself is not installed.
                m_loadError = QStringLiteral("The Tesseract module cannot be loaded: %1. Install "
                                             "the package libtesseract5 (apt install "
                                             "libtesseract5).")
                                  .arg(m_library.errorString());
            } else {
                m_engine.reset(create());
                return *m_engine;
            }
        }
    }
    throw Error(RecognitionErrors::EngineUnavailable, *m_loadError);
}

std::unique_ptr<RecognitionDocument>
ModuleRecognitionEngine::createDocument(const QByteArray& fileName) {
    return engine().createDocument(fileName);
}

} // namespace pellix
