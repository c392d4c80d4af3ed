#include "recognition/OcrCommand.h"

#include "Version.h"
#include "platform/FileName.h"
#include "platform/LanguageTable.h"
#include "recognition/Recognizer.h"

#include <algorithm>
#include <cerrno>

namespace pellix {

namespace {

const char* const Usage = "usage: pellix-ocr [--lang NAME|ID] [--deskew] FILE...\n";

const char* const Help =
    "Prints the text that Tesseract reads in image files (PNG, JPEG, TIFF, GIF,\n"
    "BMP, PNM, WebP). With several files, each file's text comes after a line\n"
    "\"==> FILE <==\".\n"
    "\n"
    "  --lang NAME|ID  the language, by its name in Pellix's language list\n"
    "                  (English, German, Chinese_simplified, ...; any case) or by\n"
    "                  its identifier (9, 7, 2052, ...); Sysdefault follows the\n"
    "                  locale; English when not given\n"
    "  --deskew        straighten each page before it is read\n"
    "  --              the arguments that follow are files, even if they begin with -\n"
    "  --help          show this help\n"
    "  --version       show the version\n"
    "\n"
    "Pages of more than 100 million pixels, and language data files of more than\n"
    "200 MB, are refused before they are read.\n"
    "\n"
    "Exit status: 0 success; 1 a file is missing, unreadable or not an image;\n"
    "2 bad usage or an unknown language; 3 language data or the engine is missing;\n"
    "4 a page is too large; 5 standard output cannot take the text.\n";

struct Options {
    std::int32_t languageId = LanguageTable[0].id;
    bool deskew = false;
    QList<QByteArray> files;
};

void print(std::FILE* stream, const QString& text) {
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), stream);
}

// Standard output carries the result, so every write to it is checked: text
// that a full disk or a closed pipe swallowed must not pass for success.
class Output {
public:
    Output(std::FILE* out, std::FILE* err) : m_out(out), m_err(err) {}

    bool write(const QByteArray& bytes) {
        errno = 0;
        if (std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), m_out) !=
            static_cast<std::size_t>(bytes.size())) {
            return failed();
        }
        if (!bytes.isEmpty()) {
            m_lineOpen = !bytes.endsWith('\n');
        }
        return true;
    }
    bool flush() {
        errno = 0;
        return std::fflush(m_out) == 0 && std::ferror(m_out) == 0 ? true : failed();
    }
    bool lineOpen() const { return m_lineOpen; }

private:
    bool failed() {
        const int error = errno != 0 ? errno : EIO;
        print(m_err, QStringLiteral("pellix-ocr: cannot write to standard output: %1\n")
                         .arg(qt_error_string(error)));
        return false;
    }

    std::FILE* m_out;
    std::FILE* m_err;
    bool m_lineOpen = false;
};

// Progress for a person watching a terminal; kept on one line.
class CommandEvents final : public RecognitionEvents {
public:
    CommandEvents(std::FILE* err, bool show, QString file)
        : m_err(err), m_show(show), m_file(std::move(file)) {}
    ~CommandEvents() override {
        if (m_show && m_shown) {
            print(m_err, QStringLiteral("\n"));
        }
    }
    CommandEvents(const CommandEvents&) = delete;
    CommandEvents& operator=(const CommandEvents&) = delete;

    void documentCreated() override {}
    void ocrDone() override {}
    void progress(int percent) override {
        if (m_show) {
            print(m_err, QStringLiteral("\r%1: %2 %").arg(m_file).arg(percent));
            std::fflush(m_err);
            m_shown = true;
        }
    }
    bool cancelled() const override { return false; }

private:
    std::FILE* m_err;
    bool m_show;
    bool m_shown = false;
    QString m_file;
};

// Returns an exit status when the arguments end the command before any file.
std::optional<int> parseArguments(const QList<QByteArray>& arguments, Options& options,
                                  Output& output, std::FILE* err) {
    bool optionsEnded = false;
    for (int i = 0; i < arguments.size(); ++i) {
        const QByteArray& argument = arguments[i];
        if (optionsEnded || argument == "-" || !argument.startsWith('-')) {
            options.files << argument;
        } else if (argument == "--") {
            optionsEnded = true;
        } else if (argument == "--deskew") {
            options.deskew = true;
        } else if (argument == "--lang" || argument.startsWith("--lang=")) {
            QByteArray value;
            if (argument == "--lang") {
                if (++i == arguments.size()) {
                    print(err, QStringLiteral("pellix-ocr: --lang needs a language\n"));
                    return OcrExit::Usage;
                }
                value = arguments[i];
            } else {
                value = argument.mid(7);
            }
            const std::optional<std::int32_t> id = parseLanguage(QString::fromUtf8(value));
            if (!id) {
                print(err, QStringLiteral("pellix-ocr: unknown language '%1'\n")
                               .arg(printableFileName(value)));
                return OcrExit::Usage;
            }
            options.languageId = *id;
        } else if (argument == "--help" || argument == "-h") {
            const bool written =
                output.write(QByteArray(Usage) + QByteArray(Help)) && output.flush();
            return written ? OcrExit::Success : OcrExit::OutputFailed;
        } else if (argument == "--version") {
            const bool written =
                output.write(QByteArray("pellix-ocr " PELLIX_VERSION_STRING "\n")) &&
                output.flush();
            return written ? OcrExit::Success : OcrExit::OutputFailed;
        } else {
            print(err, QStringLiteral("pellix-ocr: unknown option '%1'\n")
                           .arg(printableFileName(argument)));
            return OcrExit::Usage;
        }
    }
    if (options.files.isEmpty()) {
        print(err, QString::fromLatin1(Usage));
        return OcrExit::Usage;
    }
    return std::nullopt;
}

int statusOf(const Error& error) {
    switch (error.number()) {
    case RecognitionErrors::LanguageDataMissing:
    case RecognitionErrors::LanguageUnknown:
    case RecognitionErrors::EngineUnavailable:
        return OcrExit::EngineFailed;
    case RecognitionErrors::ImageTooLarge:
        return OcrExit::ImageTooLarge;
    default:
        return OcrExit::FileFailed;
    }
}

} // namespace

std::optional<std::int32_t> parseLanguage(const QString& nameOrId) {
    // Digits only: no sign, no spaces, which toInt() would let through.
    const bool isNumber =
        !nameOrId.isEmpty() && std::all_of(nameOrId.begin(), nameOrId.end(), [](QChar c) {
            return c >= QLatin1Char('0') && c <= QLatin1Char('9');
        });
    bool converted = false;
    const int number = isNumber ? nameOrId.toInt(&converted) : 0;
    if (isNumber && !converted) {
        return std::nullopt;
    }
    for (const LanguageRow& row : LanguageTable) {
        if (isNumber ? row.id == number
                     : nameOrId.compare(QLatin1String(row.name), Qt::CaseInsensitive) == 0) {
            return row.id;
        }
    }
    return std::nullopt;
}

int runOcrCommand(const QList<QByteArray>& arguments, RecognitionEngine& engine, std::FILE* out,
                  std::FILE* err, bool showProgress) {
    Options options;
    Output output(out, err);
    if (const std::optional<int> status = parseArguments(arguments, options, output, err)) {
        return *status;
    }
    const bool several = options.files.size() > 1;
    bool printedAny = false;
    int status = OcrExit::Success;
    for (const QByteArray& file : options.files) {
        const QString shown = printableFileName(file);
        RecognitionResult result;
        {
            CommandEvents events(err, showProgress, shown);
            result = recognizeImageFile(
                engine, {QString(), options.languageId, options.deskew, false, file}, events);
        }
        if (several && (!result.error || !result.text.isEmpty())) {
            // As head(1) does: a blank line between files, the header on a line of its own.
            const QByteArray before = !printedAny ? "" : output.lineOpen() ? "\n\n" : "\n";
            if (!output.write(before + "==> " + shown.toUtf8() + " <==\n")) {
                return OcrExit::OutputFailed;
            }
            printedAny = true;
        }
        if (!output.write(result.text.toUtf8()) || !output.flush()) {
            return OcrExit::OutputFailed;
        }
        if (result.error) {
            print(err, QStringLiteral("pellix-ocr: %1\n").arg(result.error->description()));
            const int failure = statusOf(*result.error);
            if (failure == OcrExit::EngineFailed) {
                return failure;
            }
            if (status == OcrExit::Success) {
                status = failure;
            }
        }
    }
    return output.flush() ? status : OcrExit::OutputFailed;
}

} // namespace pellix
