#include "platform/tesseract/TesseractLanguages.h"

#include <array>

namespace pellix {

namespace {

struct CodeRow {
    std::int32_t id;
    const char* code;
};

constexpr std::array<CodeRow, 21> Codes = {{
    {9, "eng"},  {18, "kor"},       {12, "fra"},       {10, "spa"}, {17, "jpn"}, {7, "deu"},
    {25, "rus"}, {2052, "chi_sim"}, {1028, "chi_tra"}, {5, "ces"},  {6, "dan"},  {19, "nld"},
    {11, "fin"}, {8, "ell"},        {14, "hun"},       {16, "ita"}, {20, "nor"}, {21, "pol"},
    {22, "por"}, {29, "swe"},       {31, "tur"},
}};

QString codeOf(std::int32_t languageId) {
    for (const CodeRow& row : Codes) {
        if (row.id == languageId) {
            return QString::fromLatin1(row.code);
        }
    }
    return {};
}

bool isTraditionalChinese(const QLocale& locale) {
    if (locale.script() == QLocale::TraditionalChineseScript) {
        return true;
    }
    if (locale.script() == QLocale::SimplifiedChineseScript) {
        return false;
    }
    const QLocale::Territory territory = locale.territory();
    return territory == QLocale::Taiwan || territory == QLocale::HongKong ||
           territory == QLocale::Macao;
}

// The table's language for a locale; English for a language the table lacks.
std::int32_t languageIdOf(const QLocale& locale) {
    switch (locale.language()) {
    case QLocale::Korean:
        return 18;
    case QLocale::French:
        return 12;
    case QLocale::Spanish:
        return 10;
    case QLocale::Japanese:
        return 17;
    case QLocale::German:
        return 7;
    case QLocale::Russian:
        return 25;
    case QLocale::Chinese:
        return isTraditionalChinese(locale) ? 1028 : 2052;
    case QLocale::Czech:
        return 5;
    case QLocale::Danish:
        return 6;
    case QLocale::Dutch:
        return 19;
    case QLocale::Finnish:
        return 11;
    case QLocale::Greek:
        return 8;
    case QLocale::Hungarian:
        return 14;
    case QLocale::Italian:
        return 16;
    case QLocale::NorwegianBokmal:
    case QLocale::NorwegianNynorsk:
        return 20;
    case QLocale::Polish:
        return 21;
    case QLocale::Portuguese:
        return 22;
    case QLocale::Swedish:
        return 29;
    case QLocale::Turkish:
        return 31;
    default:
        return 9;
    }
}

} // namespace

QString tesseractLanguageCode(std::int32_t languageId, const QLocale& locale,
                              const LanguageDataCheck& hasData) {
    if (languageId != SystemDefaultLanguageId) {
        return codeOf(languageId);
    }
    const QString code = codeOf(languageIdOf(locale));
    return hasData(code) ? code : QStringLiteral("eng");
}

QString debianLanguagePackage(const QString& code) {
    QString package = QStringLiteral("tesseract-ocr-") + code;
    return package.replace(QLatin1Char('_'), QLatin1Char('-'));
}

} // namespace pellix
