// pellix-ocr: the recognition of the Recognize button, from the command line.
#include "platform/tesseract/ModuleRecognitionEngine.h"
#include "recognition/OcrCommand.h"

#include <QCoreApplication>

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace {

// A standard stream the caller closed (`>&-`) is held by /dev/null opened for
// reading only: no file opened later takes its number, so the text can never
// land in one (Tesseract opens its log file, for one), and writing to it fails
// as it should.
void holdClosedStandardStreams() {
    for (int descriptor = STDIN_FILENO; descriptor <= STDERR_FILENO; ++descriptor) {
        if (fcntl(descriptor, F_GETFD) == -1 && errno == EBADF) {
            const int held = open("/dev/null", O_RDONLY);
            if (held >= 0 && held != descriptor) {
                dup2(held, descriptor);
                close(held);
            }
        }
    }
}

} // namespace

int main(int argc, char* argv[]) {
    holdClosedStandardStreams();
    pellix::limitEngineThreads(argv);
    // The file names as the system gave them: QCoreApplication::arguments()
    // would turn bytes that are not UTF-8 into replacement characters.
    QList<QByteArray> arguments;
    for (int i = 1; i < argc; ++i) {
        arguments << QByteArray(argv[i]);
    }
    QCoreApplication app(argc, argv);
    pellix::ModuleRecognitionEngine engine(QCoreApplication::applicationDirPath());
    return pellix::runOcrCommand(arguments, engine, stdout, stderr, isatty(STDERR_FILENO) == 1);
}
