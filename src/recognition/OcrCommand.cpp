#include "recognition/OcrCommand.h"

#include "platform/LanguageTable.h"
#include "recognition/Recognizer.h"

namespace pellix {

namespace {

const char* const Usage = "usage: pellix-ocr [--lang NAME|ID] [--deskew] FILE...\n";

struct Options {
    std::int32_t languageId = LanguageTable[0].id;
    bool deskew = false;
    QStringList files;
};

void print(std::FILE* stream, const QString& text) {
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), stream);
}

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
std::optional<int> parseArguments(const QStringList& arguments, Options& options, std::FILE* err) {
    for (int i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (argument == QLatin1String("--deskew")) {
            options.deskew = true;
        } else if (argument == QLatin1String("--lang") ||
                   argument.startsWith(QLatin1String("--lang="))) {
            QString value;
            if (argument == QLatin1String("--lang")) {
                if (++i == arguments.size()) {
                    print(err, QStringLiteral("pellix-ocr: --lang needs a language\n"));
                    return OcrExit::Usage;
                }
                value = arguments[i];
            } else {
                value = argument.mid(7);
            }
            const std::optional<std::int32_t> id = parseLanguage(value);
            if (!id) {
                print(err, QStringLiteral("pellix-ocr: unknown language '%1'\n").arg(value));
                return OcrExit::Usage;
            }
            options.languageId = *id;
        } else if (argument == QLatin1String("--help") || argument == QLatin1String("-h")) {
            print(err, QString::fromLatin1(Usage));
            return OcrExit::Success;
        } else if (argument.startsWith(QLatin1Char('-')) && argument != QLatin1String("-")) {
            print(err, QStringLiteral("pellix-ocr: unknown option '%1'\n").arg(argument));
            return OcrExit::Usage;
        } else {
            options.files << argument;
        }
    }
    if (options.files.isEmpty()) {
        print(err, QString::fromLatin1(Usage));
        return OcrExit::Usage;
    }
    return std::nullopt;
}

bool isEngineFailure(const Error& error) {
    return error.number() == RecognitionErrors::LanguageDataMissing ||
           error.number() == RecognitionErrors::LanguageUnknown ||
           error.number() == RecognitionErrors::EngineUnavailable;
}

} // namespace

std::optional<std::int32_t> parseLanguage(const QString& nameOrId) {
    bool isNumber = false;
    const int number = nameOrId.toInt(&isNumber);
    for (const LanguageRow& row : LanguageTable) {
        if (isNumber ? row.id == number
                     : nameOrId.compare(QLatin1String(row.name), Qt::CaseInsensitive) == 0) {
            return row.id;
        }
    }
    return std::nullopt;
}

int runOcrCommand(const QStringList& arguments, RecognitionEngine& engine, std::FILE* out,
                  std::FILE* err, bool showProgress) {
    Options options;
    if (const std::optional<int> status = parseArguments(arguments, options, err)) {
        return *status;
    }
    int status = OcrExit::Success;
    for (const QString& file : options.files) {
        RecognitionResult result;
        {
            CommandEvents events(err, showProgress, file);
            result = recognizeImageFile(engine, {file, options.languageId, options.deskew, false},
                                        events);
        }
        print(out, result.text);
        std::fflush(out);
        if (result.error) {
            print(err, QStringLiteral("pellix-ocr: %1\n").arg(result.error->description()));
            if (isEngineFailure(*result.error)) {
                return OcrExit::EngineFailed;
            }
            status = OcrExit::FileFailed;
        }
    }
    return status;
}

} // namespace pellix
