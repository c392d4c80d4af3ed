#include "platform/tesseract/ScreenText.h"

#include <QRegularExpression>

namespace pellix {

namespace {

constexpr char16_t MicroSign = u'\u00b5';
constexpr char16_t GreekMu = u'\u03bc';

bool greek(QChar c) {
    return c.script() == QChar::Script_Greek;
}

// Latin letters and the Greek or Cyrillic ones drawn alike in screen fonts.
struct Lookalikes {
    const char* code;
    const char* latin;
    const char16_t* own;
};

constexpr Lookalikes LookalikeLetters[] = {
    {"ell", "ABEZHIKMNOPTYX",
     u"\u0391\u0392\u0395\u0396\u0397\u0399\u039a\u039c\u039d\u039f"
     u"\u03a1\u03a4\u03a5\u03a7"},
    {"rus", "ABEKMHOPCTYXaeopcyx",
     u"\u0410\u0412\u0415\u041a\u041c\u041d\u041e\u0420\u0421\u0422\u0423\u0425"
     u"\u0430\u0435\u043e\u0440\u0441\u0443\u0445"},
};

// Shorter runs ("TO", "HA") are as likely English as the language's own.
constexpr qsizetype LookalikeRun = 4;

} // namespace

QString withLettersOfLanguage(const QString& text, const QString& code, const WordCheck& isWord) {
    const Lookalikes* letters = nullptr;
    for (const Lookalikes& row : LookalikeLetters) {
        if (code == QLatin1String(row.code)) {
            letters = &row;
        }
    }
    if (letters == nullptr) {
        return text;
    }
    const QString latin = QString::fromLatin1(letters->latin);
    const QString own = QString::fromUtf16(letters->own);
    QString result = text;
    for (qsizetype start = 0; start < result.size();) {
        qsizetype end = start;
        while (end < result.size() && result[end].isLetter()) {
            ++end;
        }
        if (end == start) {
            ++start;
            continue;
        }
        QString word = result.mid(start, end - start);
        bool alike = word.size() >= LookalikeRun;
        bool changed = false;
        for (qsizetype i = 0; i < word.size() && alike; ++i) {
            const qsizetype at = latin.indexOf(word[i]);
            alike = at >= 0 || own.contains(word[i]);
            if (at >= 0) {
                word[i] = own[at];
                changed = true;
            }
        }
        if (alike && changed && isWord(word)) {
            result.replace(start, word.size(), word);
        }
        start = end;
    }
    return result;
}

QString tidyRecognizedText(const QString& text) {
    QString tidy = text.normalized(QString::NormalizationForm_C);
    // "--" in a proportional font is one unbroken stroke at screen sizes,
    // which the recognizer takes for a dash; a dash does not start a word.
    static const QRegularExpression longOption(
        QStringLiteral(u"(^|[\\s(\\[{\"'=])[\u2013\u2014]-?(?=[A-Za-z])"),
        QRegularExpression::MultilineOption);
    tidy.replace(longOption, QStringLiteral("\\1--"));
    for (qsizetype i = 0; i < tidy.size(); ++i) {
        if (tidy[i] != MicroSign) {
            continue;
        }
        // Within a word: the letters next to it, skipping other micro signs.
        bool inGreekWord = false;
        for (qsizetype j = i - 1; j >= 0 && tidy[j].isLetterOrNumber() && !inGreekWord; --j) {
            inGreekWord = greek(tidy[j]);
        }
        for (qsizetype j = i + 1; j < tidy.size() && tidy[j].isLetterOrNumber() && !inGreekWord;
             ++j) {
            inGreekWord = greek(tidy[j]);
        }
        if (inGreekWord) {
            tidy[i] = QChar(GreekMu);
        }
    }
    return tidy;
}

} // namespace pellix
