#include "platform/tesseract/ScreenText.h"

#include <QRegularExpression>

namespace pellix {

namespace {

constexpr char16_t MicroSign = u'\u00b5';
constexpr char16_t GreekMu = u'\u03bc';

bool greek(QChar c) {
    return c.script() == QChar::Script_Greek;
}

} // namespace

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
