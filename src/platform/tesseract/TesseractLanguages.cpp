#include "platform/tesseract/TesseractLanguages.h"

#include "platform/LanguageTable.h"

#include <QStringList>

#include <sys/stat.h>

namespace pellix {

namespace {

const LanguageRow* rowOf(std::int32_t languageId) {
    for (const LanguageRow& row : LanguageTable) {
        if (row.id == languageId) {
            return &row;
        }
    }
    return nullptr;
}

// Whether a row stands for the locale's language; a row that names a script
// only for locales written in it.
bool standsFor(const LanguageRow& row, const QLocale& locale) {
    const QStringList codes =
        QString::fromLatin1(row.locales).split(QLatin1Char(' '), Qt::SkipEmptyParts);
    for (const QString& code : codes) {
        const QString script = code.section(QLatin1Char('-'), 1);
        if (QLocale::codeToLanguage(code.section(QLatin1Char('-'), 0, 0)) == locale.language() &&
            (script.isEmpty() || QLocale::codeToScript(script) == locale.script())) {
            return true;
        }
    }
    return false;
}

} // namespace

QString tesseractLanguageCode(std::int32_t languageId, const QLocale& locale,
                              const LanguageDataCheck& hasData) {
    if (languageId != SystemDefaultLanguageId) {
        const LanguageRow* row = rowOf(languageId);
        return row != nullptr ? QString::fromLatin1(row->tesseractCode) : QString();
    }
    const QString english = QString::fromLatin1(LanguageTable[0].tesseractCode);
    for (const LanguageRow& row : LanguageTable) {
        if (standsFor(row, locale)) {
            const QString code = QString::fromLatin1(row.tesseractCode);
            return hasData(code) ? code : english;
        }
    }
    return english;
}

QString languageDataProblem(const QByteArray& file) {
    struct stat status {};
    if (stat(file.constData(), &status) != 0) {
        return {};
    }
    if (!S_ISREG(status.st_mode)) {
        return QStringLiteral("is not a regular file.");
    }
    if (status.st_size > MaxLanguageDataBytes) {
        return QStringLiteral("is %1 MB, more than language data ever is (%2 MB at most); it is "
                              "not loaded.")
            .arg((status.st_size + 999'999) / 1'000'000)
            .arg(MaxLanguageDataBytes / 1'000'000);
    }
    return {};
}

QString debianLanguagePackage(const QString& code) {
    for (const LanguageRow& row : LanguageTable) {
        if (code == QLatin1String(row.tesseractCode)) {
            return QString::fromLatin1(row.debianPackage);
        }
    }
    // Debian's rule for the languages the table lacks.
    QString package = QStringLiteral("tesseract-ocr-") + code;
    return package.replace(QLatin1Char('_'), QLatin1Char('-'));
}

} // namespace pellix
