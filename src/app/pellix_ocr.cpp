// pellix-ocr: the recognition of the Recognize button, from the command line.
#include "platform/tesseract/ModuleRecognitionEngine.h"
#include "recognition/OcrCommand.h"

#include <QCoreApplication>

#include <unistd.h>

int main(int argc, char* argv[]) {
    pellix::limitEngineThreads(argv);
    QCoreApplication app(argc, argv);
    pellix::ModuleRecognitionEngine engine(QCoreApplication::applicationDirPath());
    QStringList arguments = QCoreApplication::arguments();
    arguments.removeFirst();
    return pellix::runOcrCommand(arguments, engine, stdout, stderr, isatty(STDERR_FILENO) == 1);
}
