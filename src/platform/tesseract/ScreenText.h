#pragma once

// Tidies the text the recognizer gives before anyone sees it.
#include <QString>

#include <functional>
#include <optional>
#include <utility>
#include <vector>

namespace pellix {

// The text in composed form (NFC), as other programs write it, so that a
// search for "έξοδο" finds it whichever way the recognizer spelled it; and
// with a micro sign within a Greek word read as the letter mu it looks
// like: the Greek model mixes the two up. Greek letters with the breathings
// and accents of the older spelling ("ἶ") have the one accent of today's
// ("ί"). A dash or a tilde at the start of a word ("\u2014file=FILE",
// "~-usage") is the "--" of a long option, whose name is in small letters.
// Marks of code no word holds come out as the code they stand for: "-|"
// alone is the option "-l", a "J" before a root folder ("Jusr/") the path's
// "/", and a file's mode of a long listing has no "P" or trailing "X".
QString tidyRecognizedText(const QString& text);

// Whether a word is in the word list of the language being read.
using WordCheck = std::function<bool(const QString& word)>;

// Words of Greek or Cyrillic letters that look like Latin ones ("ΑΡΧΕΙΟ")
// are read in English letters ("APXEIO") when English is read beside the
// language: a run of such Latin letters, four or more, that is a word of the
// language (`code`, "ell" or "rus") written in its own letters comes out so;
// and so does one such capital alone at the start of a sentence, before a
// word in the language's small letters ("H έξοδος").
QString withLettersOfLanguage(const QString& text, const QString& code, const WordCheck& isWord);

// Words of five letters or more that are not words of the language but
// would be with one "m" written "rn" ("retum", "pattem") come out so: at
// screen sizes the two letters of "rn" touch and the recognizer reads them
// as one.
QString withRnForM(const QString& text, const WordCheck& isWord);

// A sentence that starts with the article "A" ("A kind of") comes out at
// times with the space after it lost ("Akind of"): a word at the start of a
// sentence, "A" and small letters, that is no word of the language but
// whose letters after the "A" are one, gets the space back.
QString withArticleApart(const QString& text, const WordCheck& isWord);

// Manuals break words at the ends of their lines with U+2010, the hyphen of
// hyphenation, and keep it where their text is laid out again in longer
// lines ("de\u2010 fault"), where it looks like any "-". A "-" between
// letters and a space before small letters is written so where the two
// parts make a word of the language; parts that do not ("Ein- und Ausgabe")
// stand for a word left out.
QString withHyphenationKept(const QString& text, const WordCheck& isWord);

// Whether `text` is one word of English letters, with nothing else but
// marks and figures.
bool englishLetters(const QString& text);

// Whether the language (`code`, "rus") is written in Cyrillic or Greek
// letters, some of which look like Latin ones.
bool writtenInLettersWithTwins(const QString& code);

// Whether a word the language's model read with `confidence` (0 to 100) is
// worth reading again with an English model alone: it is in Cyrillic or Greek
// letters, which English names are misread in, and not read with confidence,
// or it is an option named in such letters ("-т"), which no option is. The
// recognizer tries English on a stretch of a line only when the language's
// reading of it is poor by its own measure, and a word of the language's
// list ("хам" for "xdvi") passes at any confidence.
bool englishRereadWanted(const QString& word, float confidence);

// Whether the English model's reading of such a word takes its place: it is
// in English letters, sure, and surer than the first by a clear margin, and
// the two differ in their count of characters. Readings of as many
// characters saw the same glyphs and differ in the alphabet of their twins
// ("και", "Kal"); the language of the page keeps those, but not `amongEnglish`,
// a word whose neighbours on its line are English words ("based оп the").
bool englishReadingWins(const QString& own, float ownConfidence, const QString& english,
                        float englishConfidence, bool amongEnglish = false);

// Whether the English model's reading of a word the language's model read
// in its own letters takes its place when that reading is no word of the
// language (`code`) by `isWord`, accents mended: the English one is a word of
// English letters with the marks of prose, very sure and no less sure than
// the first ("сгоп" for "cron"), and not its twin letter for letter ("ΜΒ",
// "MB"), which saw the same glyphs.
bool englishForUnknownWord(const QString& own, float ownConfidence, const QString& english,
                           float englishConfidence, const QString& code, const WordCheck& isWord);

// Whether a word is code: a path, an address, an assignment, a variable of
// the shell ("$HOME/.locale", "user@host", "LANG=C") or an option ("-k,").
bool codeLike(const QString& word);

// The English model's reading of code the language's model read in its own
// letters ("$НОМЕ/.юсаЕ"), given as the texts of its glyphs; nothing when
// the first reading stays. Code is English on these systems, and the English
// model reads it right even where it is unsure of it, so no confidence is
// asked for; but an option must still read as an option, and the words of
// the language code holds ("--color[=УСЛОВИЕ]") keep the first reading.
std::optional<std::vector<QString>>
englishCode(const QString& own, std::vector<QString> englishGlyphs, const WordCheck& isWord);

// Writes `word` over glyphs [first, end): a letter to a glyph, the rest to the
// last, and nothing to any glyph left over.
void spellOver(std::vector<QString>& glyphs, std::size_t first, std::size_t end,
               const QString& word);

// Where the value of an option stands in a word ("--size=PA3MEP" gives 7
// and 6): letters after its "=", with figures and "/" among them as a
// misread letter has them. Paths and patterns ("=/usr", "=*.o") have none.
std::optional<std::pair<qsizetype, qsizetype>> optionValue(const QString& word);

// The values of options are words of the page's language in its manuals
// ("--size=РАЗМЕР"), but the recognizer, reading English beside it, reads
// some in English letters ("PA3MEP"). `own` is such a `value` read again by
// the language's model alone: it takes the value's place, in capitals if the
// value is in capitals, when it is one word of the language in its own
// letters and the value is no English word.
std::optional<QString> valueInLanguage(const QString& value, const QString& own,
                                       const WordCheck& isWord, const WordCheck& isEnglishWord);

// Among the language's words, the recognizer reading English beside it
// reads some short ones in English letters ("av" for "αν", "Eva" for "ένα").
// `own` is such a word `read` again by the model of language `code` alone:
// it takes the word's place when it is a word of the language, with the same
// marks around it, and its letters are drawn like those of `read` one for
// one, accents aside.
std::optional<QString> wordInLanguage(const QString& read, const QString& own, const QString& code,
                                      const WordCheck& isWord);

// Whether `read` is letters drawn like some of language `code`, with the
// marks of prose around them: one for `wordInLanguage` to weigh.
bool drawnAlikeInLanguage(const QString& read, const QString& code);

// The other way round: among English words, the recognizer reads some short
// ones in the language's letters drawn like English ones ("оп" for "on", "а"
// for "a"). `english` is such a word `read` again by the English model: it
// takes the word's place when it is an English word by `isEnglishWord`, with
// the same marks around it, its letters drawn like those of `read` one for
// one.
std::optional<QString> wordInEnglish(const QString& read, const QString& english,
                                     const QString& code, const WordCheck& isEnglishWord);

// Whether `read` is letters of language `code` drawn like English ones, not
// in capitals, with the marks of prose around them: one for `wordInEnglish`
// to weigh.
bool drawnAlikeInEnglish(const QString& read, const QString& code);

// Whether `text` has letters of an alphabet with English twins and no
// English letters.
bool ownLetters(const QString& text);

// Commands, their options and the variables of the shell are written in
// English letters whatever the language around them; the recognizer reads
// them in the language's own letters at times ("$НОМЕ", "-с"). The name of an
// option or a variable whose letters all have English twins (see above) is
// written in English letters.
QString withEnglishNames(const QString& text, const QString& code);

} // namespace pellix
