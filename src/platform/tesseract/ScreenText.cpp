#include "platform/tesseract/ScreenText.h"

#include <QRegularExpression>

#include <algorithm>
#include <optional>

namespace pellix {

namespace {

constexpr char16_t MicroSign = u'\u00b5';
constexpr char16_t Hyphen = u'\u2010';
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

// Small letters drawn alike, and capitals drawn like them once lowered: a
// word is told from its twin by the words around it.
constexpr Lookalikes DrawnAlike[] = {
    {"ell", "abeikmnoptuvxyz",
     u"\u03b1\u03b2\u03b5\u03b9\u03ba\u03bc\u03b7\u03bf\u03c1\u03c4\u03c5\u03bd"
     u"\u03c7\u03b3\u03b6"},
    {"rus", "abekmhnopctyx",
     u"\u0430\u0432\u0435\u043a\u043c\u043d\u043f\u043e\u0440\u0441\u0442\u0443\u0445"},
};

// Shorter runs ("TO", "HA") are as likely English as the language's own.
constexpr qsizetype LookalikeRun = 4;
// Shorter words with an "m" ("tem", "Kim") are as likely names or words of
// another language as misread.
constexpr int RnWord = 5;

// The language's words in code ("список", "УСЛОВИЕ") are this long or more;
// shorter words of its list ("рама", "номе") are often misread English.
constexpr qsizetype CodeWordRun = 5;

// Confidences, 0 to 100, of the two readings of a word. Words the language's
// model reads well it reads at 92 to 97; English names it has read in its own
// letters ("хам" for "xdvi") it reads at 40 to 80, and the English model at
// 88 to 96.
constexpr float OwnSure = 90;
constexpr float EnglishSure = 85;
constexpr float EnglishAhead = 8;
// How sure the English model must be of a word the language's list does
// not hold: misread words of the language it reads at 70 and less.
constexpr float EnglishSurest = 92;

bool inAlphabetWithTwins(QChar c) {
    return c.isLetter() &&
           (c.script() == QChar::Script_Cyrillic || c.script() == QChar::Script_Greek);
}

// The "-" of an option, or what the recognizer reads the two of "--" as.
bool dashLike(QChar c) {
    return c == u'-' || c == u'\u2013' || c == u'\u2014' || c == u'~';
}

qsizetype visibleLength(const QString& text) {
    return std::count_if(text.begin(), text.end(), [](QChar c) { return !c.isSpace(); });
}

// The row of `table` for language `code`; none for a language without twins.
template <std::size_t N>
const Lookalikes* rowFor(const Lookalikes (&table)[N], const QString& code) {
    for (const Lookalikes& row : table) {
        if (code == QLatin1String(row.code)) {
            return &row;
        }
    }
    return nullptr;
}

const Lookalikes* lookalikesOf(const QString& code) {
    return rowFor(LookalikeLetters, code);
}

const Lookalikes* drawnAlikeOf(const QString& code) {
    return rowFor(DrawnAlike, code);
}

// `word` with each letter of `from` written as its twin in `to`; nothing when
// it has none to write so, or a letter that is in neither and may not stay.
std::optional<QString> withTwins(QString word, const QString& from, const QString& to,
                                 const std::function<bool(QChar)>& stays) {
    bool changed = false;
    for (QChar& c : word) {
        const qsizetype at = from.indexOf(c);
        if (at >= 0) {
            c = to[at];
            changed = true;
        } else if (!stays(c)) {
            return std::nullopt;
        }
    }
    return changed ? std::optional<QString>(word) : std::nullopt;
}

// Greek is written with one accent since 1982, the tonos, but the Greek
// model knows the breathings and accents of the older spelling too, and at
// screen sizes it reads a tonos as one of them at times ("εἶναι" for
// "είναι"). A letter with any of them has the tonos alone; a diaeresis
// stays, and the iota written below a vowel, never written today, goes.
QString withOneAccent(const QString& text) {
    constexpr char16_t Tonos = u'\u0301';
    constexpr char16_t IotaBelow = u'\u0345';
    static const QString accents = QStringLiteral(u"\u0300\u0301\u0313\u0314\u0342");
    QString result;
    result.reserve(text.size());
    for (const QChar c : text) {
        if (c.unicode() < 0x1f00 || c.unicode() > 0x1fff) {
            result += c;
            continue;
        }
        const QString parts = QString(c).normalized(QString::NormalizationForm_D);
        QString kept;
        bool accented = false;
        for (const QChar part : parts) {
            if (accents.contains(part)) {
                accented = true;
            } else if (part != QChar(IotaBelow)) {
                kept += part;
            }
        }
        if (accented) {
            kept += QChar(Tonos);
        }
        result += kept.normalized(QString::NormalizationForm_C);
    }
    return result;
}

} // namespace

bool englishLetters(const QString& text) {
    return std::any_of(text.begin(), text.end(), [](QChar c) { return c.isLetter(); }) &&
           std::none_of(text.begin(), text.end(), [](QChar c) {
               return c.isSpace() || (c.isLetter() && c.script() != QChar::Script_Latin);
           });
}

bool writtenInLettersWithTwins(const QString& code) {
    return lookalikesOf(code) != nullptr;
}

bool englishRereadWanted(const QString& word, float confidence) {
    // No option is named in such letters, however sure the reading ("-т").
    static const QRegularExpression ownOptionName(
        QStringLiteral("^[-\u2013\u2014~]+\\w*[\\p{Cyrillic}\\p{Greek}]"),
        QRegularExpression::UseUnicodePropertiesOption);
    return std::any_of(word.begin(), word.end(), inAlphabetWithTwins) &&
           (confidence < OwnSure || ownOptionName.match(word).hasMatch());
}

bool englishReadingWins(const QString& own, float ownConfidence, const QString& english,
                        float englishConfidence, bool amongEnglish) {
    return englishRereadWanted(own, ownConfidence) && englishLetters(english) &&
           englishConfidence >= EnglishSure && englishConfidence >= ownConfidence + EnglishAhead &&
           (amongEnglish || visibleLength(english) != visibleLength(own));
}

bool codeLike(const QString& word) {
    static const QString marks = QStringLiteral("/$=_@%\\<>");
    return std::any_of(word.begin(), word.end(), [](QChar c) { return marks.contains(c); }) ||
           (!word.isEmpty() && dashLike(word.front()));
}

std::optional<std::vector<QString>>
englishCode(const QString& own, std::vector<QString> englishGlyphs, const WordCheck& isWord) {
    QString english;
    for (const QString& glyph : englishGlyphs) {
        english += glyph;
    }
    if (!std::any_of(own.begin(), own.end(), inAlphabetWithTwins) || !englishLetters(english) ||
        (dashLike(own.front()) && !dashLike(english.front()))) {
        return std::nullopt;
    }
    // Words of the language joined by a slash ("и/или") are prose, not a path.
    static const QRegularExpression joined(QStringLiteral("^\\p{L}+(?:/\\p{L}+)+[.,;:)]?$"),
                                           QRegularExpression::UseUnicodePropertiesOption);
    if (joined.match(own).hasMatch()) {
        static const QRegularExpression slash(QStringLiteral("[/.,;:)]"));
        const QStringList parts = own.split(slash, Qt::SkipEmptyParts);
        if (std::all_of(parts.begin(), parts.end(), [&isWord](const QString& part) {
                return std::all_of(part.begin(), part.end(), inAlphabetWithTwins) &&
                       isWord(part.toLower());
            })) {
            return std::nullopt;
        }
    }
    static const QRegularExpression letterRun(QStringLiteral("\\p{L}+"));
    std::vector<QString> ownRuns;
    for (auto it = letterRun.globalMatch(own); it.hasNext();) {
        ownRuns.push_back(it.next().captured());
    }
    // The glyphs of each run of letters of the English reading.
    std::vector<std::pair<std::size_t, std::size_t>> englishRuns;
    for (std::size_t k = 0; k < englishGlyphs.size(); ++k) {
        const QString& glyph = englishGlyphs[k];
        if (glyph.isEmpty() ||
            !std::all_of(glyph.begin(), glyph.end(), [](QChar c) { return c.isLetter(); })) {
            continue;
        }
        if (englishRuns.empty() || englishRuns.back().second != k) {
            englishRuns.emplace_back(k, k + 1);
        } else {
            ++englishRuns.back().second;
        }
    }
    std::size_t kept = 0;
    for (std::size_t run = 0; run < ownRuns.size(); ++run) {
        const QString& word = ownRuns[run];
        if (word.size() < CodeWordRun ||
            !std::any_of(word.begin(), word.end(), inAlphabetWithTwins) ||
            !isWord(word.toLower())) {
            continue;
        }
        // Where the word stands in the English reading is unclear, or
        // nothing of that reading would be left but its marks.
        if (ownRuns.size() != englishRuns.size() || ++kept == ownRuns.size()) {
            return std::nullopt;
        }
        spellOver(englishGlyphs, englishRuns[run].first, englishRuns[run].second, word);
    }
    return englishGlyphs;
}

void spellOver(std::vector<QString>& glyphs, std::size_t first, std::size_t end,
               const QString& word) {
    for (std::size_t k = first; k < end; ++k) {
        const qsizetype at = static_cast<qsizetype>(k - first);
        glyphs[k] = k + 1 < end ? word.mid(at, 1) : word.mid(at);
    }
}

std::optional<std::pair<qsizetype, qsizetype>> optionValue(const QString& word) {
    const qsizetype start = word.indexOf(QLatin1Char('=')) + 1;
    if (start == 0 || start >= word.size() || !word[start].isLetter()) {
        return std::nullopt;
    }
    qsizetype end = start;
    while (end < word.size() && (word[end].isLetterOrNumber() || word[end] == u'/')) {
        ++end;
    }
    return std::pair(start, end - start);
}

std::optional<QString> valueInLanguage(const QString& value, const QString& own,
                                       const WordCheck& isWord, const WordCheck& isEnglishWord) {
    if (std::any_of(value.begin(), value.end(), inAlphabetWithTwins) || isEnglishWord(value) ||
        isEnglishWord(value.toLower())) {
        return std::nullopt;
    }
    // The marks around it the crop took in ("=ШАБЛОН]").
    qsizetype first = 0;
    qsizetype last = own.size();
    while (first < last && !own[first].isLetter()) {
        ++first;
    }
    while (last > first && !own[last - 1].isLetter()) {
        --last;
    }
    QString word = own.mid(first, last - first);
    if (word.size() < LookalikeRun || !std::all_of(word.begin(), word.end(), inAlphabetWithTwins) ||
        !isWord(word.toLower())) {
        return std::nullopt;
    }
    QString letters;
    for (const QChar c : value) {
        if (c.isLetter()) {
            letters += c;
        }
    }
    if (letters.size() >= 2 && letters[0].isUpper() && letters[1].isUpper()) {
        word = word.toUpper();
    }
    return word;
}

bool ownLetters(const QString& text) {
    return std::any_of(text.begin(), text.end(), inAlphabetWithTwins) &&
           std::none_of(text.begin(), text.end(),
                        [](QChar c) { return c.isLetter() && c.script() == QChar::Script_Latin; });
}

namespace {

// A word's letters, one at least, and the marks of prose around them.
QRegularExpressionMatch proseWord(const QString& text) {
    static const QRegularExpression shape(
        QStringLiteral("^([.,:;!?()\"'\u00ab\u00bb\u2018\u2019\u201c\u201d]*)(\\p{L}+)"
                       "([.,:;!?()\"'\u00ab\u00bb\u2018\u2019\u201c\u201d]*)$"));
    return shape.match(text);
}

// The letters drawn alike in language `code`, where each letter of `word`
// has a twin among `letters` (the English or the language's own of a row).
// Words in capitals ("TO", "NO") are names and marks as often as words: none
// for them.
const Lookalikes* twinsOf(const QString& word, const QString& code,
                          QString (*letters)(const Lookalikes&)) {
    const Lookalikes* twins = drawnAlikeOf(code);
    if (twins == nullptr || word.toUpper() == word) {
        return nullptr;
    }
    const QString alphabet = letters(*twins);
    const QString lower = word.toLower();
    return std::all_of(lower.begin(), lower.end(),
                       [&alphabet](QChar c) { return alphabet.contains(c); })
               ? twins
               : nullptr;
}

QString latinOf(const Lookalikes& row) {
    return QString::fromLatin1(row.latin);
}

QString ownOf(const Lookalikes& row) {
    return QString::fromUtf16(row.own);
}

// Whether the letters `latin` and `own` are drawn alike one for one, the
// accents of `own` aside.
bool drawnAlike(const QString& latin, const QString& own, const Lookalikes& twins) {
    const QString bare = own.toLower()
                             .normalized(QString::NormalizationForm_D)
                             .remove(QRegularExpression(QStringLiteral("\\p{Mn}")));
    const QString lower = latin.toLower();
    if (bare.size() != lower.size()) {
        return false;
    }
    const QString from = latinOf(twins);
    const QString to = ownOf(twins);
    for (qsizetype k = 0; k < lower.size(); ++k) {
        const qsizetype at = from.indexOf(lower[k]);
        if (at < 0 || to[at] != bare[k]) {
            return false;
        }
    }
    return true;
}

// Whether `other` has the marks of `word` around letters drawn like its own,
// one for one, and is a word by `isWord`; `latinFirst` tells which of the
// two is in English letters.
bool twinWord(const QRegularExpressionMatch& word, const QString& other, bool latinFirst,
              const Lookalikes& twins, const WordCheck& isWord) {
    const QRegularExpressionMatch match = proseWord(other);
    if (!match.hasMatch() || word.captured(1) != match.captured(1) ||
        word.captured(3) != match.captured(3) || !isWord(match.captured(2).toLower())) {
        return false;
    }
    return latinFirst ? drawnAlike(word.captured(2), match.captured(2), twins)
                      : drawnAlike(match.captured(2), word.captured(2), twins);
}

// The letters drawn alike in language `code` where `match`, a prose word,
// is letters all drawn alike there: English ones, two at least, when
// `latin`, else the language's own.
const Lookalikes* proseTwins(const QRegularExpressionMatch& match, const QString& code,
                             bool latin) {
    if (!match.hasMatch() || (latin && match.capturedLength(2) < 2)) {
        return nullptr;
    }
    return twinsOf(match.captured(2), code, latin ? latinOf : ownOf);
}

// `other` where it is the twin reading of `read` as `twinWord` weighs it.
std::optional<QString> twinReading(const QString& read, const QString& other, const QString& code,
                                   bool latin, const WordCheck& isWord) {
    const QRegularExpressionMatch match = proseWord(read);
    const Lookalikes* twins = proseTwins(match, code, latin);
    if (twins == nullptr || !twinWord(match, other, latin, *twins, isWord)) {
        return std::nullopt;
    }
    return other;
}

} // namespace

bool drawnAlikeInLanguage(const QString& read, const QString& code) {
    return proseTwins(proseWord(read), code, true) != nullptr;
}

std::optional<QString> wordInLanguage(const QString& read, const QString& own, const QString& code,
                                      const WordCheck& isWord) {
    return twinReading(read, own, code, true, isWord);
}

bool drawnAlikeInEnglish(const QString& read, const QString& code) {
    return proseTwins(proseWord(read), code, false) != nullptr;
}

bool englishForUnknownWord(const QString& own, float ownConfidence, const QString& english,
                           float englishConfidence, const QString& code, const WordCheck& isWord) {
    static const QRegularExpression letters(QStringLiteral("\\p{L}+"),
                                            QRegularExpression::UseUnicodePropertiesOption);
    const QString ownLetters =
        letters.match(withOneAccent(own).normalized(QString::NormalizationForm_C)).captured();
    const QRegularExpressionMatch englishWord = proseWord(english);
    if (ownLetters.isEmpty() || isWord(ownLetters.toLower()) || !englishWord.hasMatch() ||
        !englishLetters(english) || englishConfidence < EnglishSurest ||
        englishConfidence < ownConfidence) {
        return false;
    }
    const Lookalikes* twins = drawnAlikeOf(code);
    return twins == nullptr || !drawnAlike(englishWord.captured(2), ownLetters, *twins);
}

std::optional<QString> wordInEnglish(const QString& read, const QString& english,
                                     const QString& code, const WordCheck& isEnglishWord) {
    return twinReading(read, english, code, false, isEnglishWord);
}

QString withEnglishNames(const QString& text, const QString& code) {
    const Lookalikes* letters = lookalikesOf(code);
    if (letters == nullptr) {
        return text;
    }
    const QString latin = QString::fromLatin1(letters->latin);
    const QString own = QString::fromUtf16(letters->own);
    // An option after "-" or "--" (an em dash and a hyphen is how "--" reads
    // at times; an em dash alone may open a line of dialogue), or a variable
    // after "$", up to the first character no name holds.
    static const QRegularExpression name(
        QStringLiteral(u"(?:(?:^|(?<=[\\s(\\[{\"'=,|]))(?:--?|[\u2013\u2014]-)|\\$\\{?)"
                       u"(\\w[\\w-]*)"),
        QRegularExpression::MultilineOption | QRegularExpression::UseUnicodePropertiesOption);
    QString result = text;
    for (auto it = name.globalMatch(text); it.hasNext();) {
        const QRegularExpressionMatch match = it.next();
        const std::optional<QString> word = withTwins(match.captured(1), own, latin, [](QChar c) {
            return !c.isLetter() || c.script() == QChar::Script_Latin;
        });
        if (word) {
            result.replace(match.capturedStart(1), word->size(), *word);
        }
    }
    return result;
}

namespace {

// Whether the letter at `start` (to `end`) stands alone at the start of a
// sentence, before a word in small letters of the alphabet `own` belongs
// to: where an article in capitals stands ("Η έξοδος"), which a name in
// English letters seldom does.
bool sentenceArticle(const QString& text, qsizetype start, qsizetype end, const QString& own) {
    static const QRegularExpression sentenceEnd(QStringLiteral("[.!?;]\\s+$"));
    if (end - start != 1 || end + 1 >= text.size() || text[end] != u' ' ||
        !text[end + 1].isLower() || text[end + 1].script() != own[0].script()) {
        return false;
    }
    return start == 0 || sentenceEnd.match(text.left(start)).hasMatch();
}

} // namespace

QString withLettersOfLanguage(const QString& text, const QString& code, const WordCheck& isWord) {
    const Lookalikes* letters = lookalikesOf(code);
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
        const bool article = sentenceArticle(result, start, end, own);
        const std::optional<QString> word =
            end - start >= LookalikeRun || article
                ? withTwins(result.mid(start, end - start), latin, own,
                            [&own](QChar c) { return own.contains(c); })
                : std::nullopt;
        if (word && isWord(article ? word->toLower() : *word)) {
            result.replace(start, word->size(), *word);
        }
        start = end;
    }
    return result;
}

namespace {

// The matches of `pattern` in `text`, the last first: text written over
// from its end keeps the places of the matches before.
std::vector<QRegularExpressionMatch> matchesFromEnd(const QRegularExpression& pattern,
                                                    const QString& text) {
    std::vector<QRegularExpressionMatch> found;
    for (auto it = pattern.globalMatch(text); it.hasNext();) {
        found.push_back(it.next());
    }
    std::reverse(found.begin(), found.end());
    return found;
}

} // namespace

QString withRnForM(const QString& text, const WordCheck& isWord) {
    static const QRegularExpression letterRun(QStringLiteral("\\p{L}{%1,}").arg(RnWord));
    QString result = text;
    // Replacing "m" by "rn" makes the text longer.
    for (const QRegularExpressionMatch& run : matchesFromEnd(letterRun, text)) {
        const QString word = run.captured();
        if (!word.contains(QLatin1Char('m')) || isWord(word)) {
            continue;
        }
        for (qsizetype at = word.indexOf(QLatin1Char('m')); at >= 0;
             at = word.indexOf(QLatin1Char('m'), at + 1)) {
            QString spelled = word;
            spelled.replace(at, 1, QStringLiteral("rn"));
            if (isWord(spelled)) {
                result.replace(run.capturedStart(), word.size(), spelled);
                break;
            }
        }
    }
    return result;
}

QString withHyphenationKept(const QString& text, const WordCheck& isWord) {
    static const QRegularExpression broken(QStringLiteral("(\\p{L}+)-(?= (\\p{Ll}+))"),
                                           QRegularExpression::UseUnicodePropertiesOption);
    QString result = text;
    for (auto it = broken.globalMatch(text); it.hasNext();) {
        const QRegularExpressionMatch match = it.next();
        if (isWord((match.captured(1) + match.captured(2)).toLower())) {
            result[match.capturedEnd() - 1] = QChar(Hyphen);
        }
    }
    return result;
}

QString withArticleApart(const QString& text, const WordCheck& isWord) {
    // After the end of a sentence and its closing quote, at an opening
    // quote, or at a line's start.
    static const QRegularExpression joined(QStringLiteral(
        "(?:^|(?<=[.!?] )|(?<=[.!?][\"\u201d] )|(?<=[.!?] [\"\u201c])|(?<=\\n))A(\\p{Ll}{3,})"
        "(?=[\\s,.;:!?]|$)"));
    QString result = text;
    for (const QRegularExpressionMatch& match : matchesFromEnd(joined, text)) {
        const QString word = match.captured();
        if (!isWord(word) && !isWord(word.toLower()) && isWord(match.captured(1))) {
            result.insert(match.capturedStart() + 1, QLatin1Char(' '));
        }
    }
    return result;
}

QString tidyRecognizedText(const QString& text) {
    QString tidy = withOneAccent(text).normalized(QString::NormalizationForm_C);
    // "--" in a proportional font is one unbroken stroke at screen sizes,
    // which the recognizer takes for a dash; a dash does not start a word.
    // Two short strokes side by side are also read as a wave ("~-usage",
    // "-~-diff"); a tilde starting a word is a home folder, which a "/"
    // follows.
    static const QRegularExpression longOption(
        QStringLiteral(u"(^|[\\s(\\[{\"'=])(?:[\u2013\u2014]-?|-?~-?(?![\\w.-]*/))(?=[A-Za-z])"),
        QRegularExpression::MultilineOption);
    tidy.replace(longOption, QStringLiteral("\\1--"));
    // Long options are named in small letters; the recognizer reads the
    // first one after "--" as a capital at times ("--Suppress-common-lines").
    static const QRegularExpression capitalOption(
        QStringLiteral(
            "(?:^|(?<=[\\s(\\[{\"'=,|]))--[A-Z](?=[a-z][a-z-]*[a-z](?:[=\\[,;.)\\]]|\\s|$))"),
        QRegularExpression::MultilineOption);
    for (auto it = capitalOption.globalMatch(tidy); it.hasNext();) {
        const qsizetype at = it.next().capturedEnd() - 1;
        tidy[at] = tidy[at].toLower();
    }
    // A file's mode in a long listing ("-rwxr-xr-x"): its first "r" is read
    // as a "P" at times, and its last "x" as "xX".
    static const QRegularExpression mode(
        QStringLiteral(
            "(?<!\\S)([-dlcbps])[rP]([w-][xsS-][r-][w-][xsS-][r-][w-][xtT-])X?(?=[.+@]?(?:\\s|$))"),
        QRegularExpression::MultilineOption);
    tidy.replace(mode, QStringLiteral("\\1r\\2"));
    // The option "-l" is read with a bar at times; no option is a bar.
    static const QRegularExpression barOption(QStringLiteral("(^|[\\s(\\[])-\\|(?=[,;)\\]]|\\s|$)"),
                                              QRegularExpression::MultilineOption);
    tidy.replace(barOption, QStringLiteral("\\1-l"));
    // At the start of a path the recognizer reads the "/" as a "J" at
    // times ("Jusr/lib"): no word is spelled so.
    static const QRegularExpression rootFolder(
        QStringLiteral("(^|\\s)J(?=(?:bin|boot|dev|etc|home|lib|media|mnt|opt|proc|root|run|"
                       "sbin|srv|sys|tmp|usr|var)/)"),
        QRegularExpression::MultilineOption);
    tidy.replace(rootFolder, QStringLiteral("\\1/"));
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
