// Tidying the recognizer's text.
#include "platform/tesseract/ScreenText.h"

#include <QStringList>

#include <gtest/gtest.h>

namespace pellix {
namespace {

// A word list of the given words.
WordCheck listing(const QStringList& words) {
    return [words](const QString& word) {
        return words.contains(word);
    };
}

TEST(ScreenText, ComposesAccentsAndReadsAMicroSignInGreekAsMu) {
    // Epsilon with a combining acute, and the Greek-extended epsilon with oxia.
    EXPECT_EQ(tidyRecognizedText(QStringLiteral(u"\u03b5\u0301\u03be\u03bf\u03b4\u03bf \u1f73")),
              QStringLiteral(u"\u03ad\u03be\u03bf\u03b4\u03bf \u03ad"));
    EXPECT_EQ(tidyRecognizedText(QStringLiteral(u"\u00b5\u03b5 \u03b3\u03c1\u03b1\u00b5\u00b5")),
              QStringLiteral(u"\u03bc\u03b5 \u03b3\u03c1\u03b1\u03bc\u03bc"));
    // A measure stays a measure.
    EXPECT_EQ(tidyRecognizedText(QStringLiteral(u"5 \u00b5m, 3\u00b5s")),
              QStringLiteral(u"5 \u00b5m, 3\u00b5s"));
}

TEST(ScreenText, GreekLettersWithTheOlderAccentsHaveTheTonosAlone) {
    // εἶναι, κοντἐς, ἡ, and ΐ with a diaeresis and an accent.
    EXPECT_EQ(tidyRecognizedText(QStringLiteral(u"\u03b5\u1f36\u03bd\u03b1\u03b9 "
                                                u"\u03ba\u03bf\u03bd\u03c4\u1f10\u03c2 "
                                                u"\u1f21 \u1fd3")),
              QStringLiteral(u"\u03b5\u03af\u03bd\u03b1\u03b9 "
                             u"\u03ba\u03bf\u03bd\u03c4\u03ad\u03c2 \u03ae \u0390"));
    // The iota below a vowel goes with its accents: ᾷ, ᾳ.
    EXPECT_EQ(tidyRecognizedText(QStringLiteral(u"\u1fb7 \u1fb3")),
              QStringLiteral(u"\u03ac \u03b1"));
    // Letters without accents, and other scripts, stay.
    const QString plain = QStringLiteral(u"\u03ca \u03c9\u03c2 caf\u00e9");
    EXPECT_EQ(tidyRecognizedText(plain), plain);
}

TEST(ScreenText, ADashStartingAWordIsALongOption) {
    EXPECT_EQ(
        tidyRecognizedText(QStringLiteral(u"\u2014file=FILE (\u2014null-data)\n\u2014-quiet")),
        QStringLiteral("--file=FILE (--null-data)\n--quiet"));
    // Between words, or standing alone, a dash stays one.
    const QString prose = QStringLiteral(u"this\u2014that, a \u2014 b, 1\u20132");
    EXPECT_EQ(tidyRecognizedText(prose), prose);
    EXPECT_EQ(tidyRecognizedText(QStringLiteral("-c, ~-category ~usage -~-diff=P")),
              QStringLiteral("-c, --category --usage --diff=P"));
    EXPECT_EQ(tidyRecognizedText(QStringLiteral("-S, --Suppress-common-lines [--No-messages]")),
              QStringLiteral("-S, --suppress-common-lines [--no-messages]"));
    const QString capitals = QStringLiteral("--XML --Xa a--Bob");
    EXPECT_EQ(tidyRecognizedText(capitals), capitals);
    EXPECT_EQ(tidyRecognizedText(QStringLiteral("-|, --lock [-|] -| and")),
              QStringLiteral("-l, --lock [-l] -l and"));
    const QString bars = QStringLiteral("a -|- b |-| c -||");
    EXPECT_EQ(tidyRecognizedText(bars), bars);
    const QString tildes = QStringLiteral("cd ~user/bin ~/x 1~deb12u1 =~ ~ and");
    EXPECT_EQ(tidyRecognizedText(tildes), tildes);
}

TEST(ScreenText, AFilesModeInALongListingReadsAsAMode) {
    EXPECT_EQ(tidyRecognizedText(QStringLiteral("-Pwxr-xr-x 1 root\n-rwxr-xr-xX 1 root")),
              QStringLiteral("-rwxr-xr-x 1 root\n-rwxr-xr-x 1 root"));
    const QString kept = QStringLiteral("-r--r--r-- drwxr-xr-x. -Pwxr-xr-xy XPwxr-xr-x");
    EXPECT_EQ(tidyRecognizedText(kept), kept);
}

TEST(ScreenText, AJStartingAPathIsItsSlash) {
    EXPECT_EQ(tidyRecognizedText(QStringLiteral("Jusr/lib\nsee Jetc/passwd")),
              QStringLiteral("/usr/lib\nsee /etc/passwd"));
    const QString words = QStringLiteral("Jusr Java/Kotlin Jim/etc");
    EXPECT_EQ(tidyRecognizedText(words), words);
}

TEST(ScreenText, GreekCapitalsReadAsLatinOnesComeBackWhenTheyMakeAWord) {
    const QString file = QStringLiteral(u"\u0391\u03a1\u03a7\u0395\u0399\u039f"); // ΑΡΧΕΙΟ
    const WordCheck greek = [&file](const QString& word) {
        return word == file;
    };
    EXPECT_EQ(withLettersOfLanguage(QStringLiteral("--exclude-from=APXEIO, APXEIO1"),
                                    QStringLiteral("ell"), greek),
              QStringLiteral("--exclude-from=") + file + QStringLiteral(", ") + file +
                  QStringLiteral("1"));
    // Runs the word list does not hold stay as read, and so do runs of fewer
    // than four letters and pages in languages without such twins, whatever
    // the list says.
    const QString english = QStringLiteral("TAXI MAKE EXIT");
    EXPECT_EQ(withLettersOfLanguage(english, QStringLiteral("ell"), greek), english);
    const WordCheck anyWord = [](const QString&) {
        return true;
    };
    EXPECT_EQ(withLettersOfLanguage(QStringLiteral("TO ME, HOT"), QStringLiteral("ell"), anyWord),
              QStringLiteral("TO ME, HOT"));
    EXPECT_EQ(withLettersOfLanguage(QStringLiteral("APXEIO"), QStringLiteral("deu"), anyWord),
              QStringLiteral("APXEIO"));
    // A capital alone starts a sentence before a Greek word: the article;
    // elsewhere, or before a capital or an English word, a name.
    const QString exodos = QStringLiteral(u"έξοδος");
    EXPECT_EQ(withLettersOfLanguage(QStringLiteral("law. H ") + exodos + QStringLiteral(" H ") +
                                        exodos + QStringLiteral(". H Exodos"),
                                    QStringLiteral("ell"), anyWord),
              QStringLiteral(u"law. Η ") + exodos + QStringLiteral(" H ") + exodos +
                  QStringLiteral(". H Exodos"));
}

TEST(ScreenText, AnMThatMakesNoWordWhereRnWouldIsRn) {
    const WordCheck isWord = listing({"return", "Afternoon", "modem", "modern", "tern"});
    // Words stay, short ones too ("tem" is Portuguese).
    EXPECT_EQ(withRnForM("The retum of the modem, tem; Aftemoon: mkdir", isWord),
              "The return of the modem, tem; Afternoon: mkdir");
}

TEST(ScreenText, AnArticleRunIntoTheWordAfterItAtASentencesStartStandsApart) {
    const WordCheck isWord = listing({"kind", "man", "alike", "like", "mass"});
    // Within a sentence, a word of the list, or a rest that is none, stays.
    EXPECT_EQ(withArticleApart("Akind of. Amass. \"Aman.\" Alike x Akind\nAkind. Azzz", isWord),
              "A kind of. A mass. \"A man.\" Alike x Akind\nA kind. Azzz");
}

TEST(ScreenText, AWordBrokenAtAHyphenAndASpaceKeepsTheHyphenOfHyphenation) {
    const WordCheck isWord = listing({"default", "compress", "und"});
    EXPECT_EQ(withHyphenationKept("the de- fault; --auto-com- press", isWord),
              QStringLiteral(u"the de\u2010 fault; --auto-com\u2010 press"));
    // Parts that make no word, a line's end, a capital after the space and a
    // dash between words stay.
    const QString kept = QStringLiteral("Ein- und Aus; de-\nfault de- Fault de - fault");
    EXPECT_EQ(withHyphenationKept(kept, isWord), kept);
}

TEST(ScreenText, OptionsAndVariablesReadInCyrillicTwinsAreWrittenInEnglish) {
    // -с, $НОМЕ/.юсаЕ, --соо=УСЛОВИЕ, $МАМОРТ: Cyrillic letters with English twins.
    EXPECT_EQ(withEnglishNames(QStringLiteral(u"-\u0441 $\u041d\u041e\u041c\u0415/."
                                              u"\u044e\u0441\u0430\u0415 "
                                              u"[--\u0441\u043e\u043e=\u0423\u0421\u041b"
                                              u" (${\u041c\u0410\u041c\u041e\u0420\u0422})"),
                               QStringLiteral("rus")),
              QStringLiteral(u"-c $HOME/.\u044e\u0441\u0430\u0415 [--coo=\u0423\u0421\u041b"
                             u" (${MAMOPT})"));
    // A name with a letter that has no twin stays as read, and so do words
    // that only hold a hyphen, a line of dialogue after an em dash, and
    // pages in languages without such twins.
    const QString russian = QStringLiteral(u"-\u043c \u0438\u0437-\u0437\u0430 "
                                           u"\u2014\u0410 \u0441\u043e\u043a");
    EXPECT_EQ(withEnglishNames(russian, QStringLiteral("rus")), russian);
    EXPECT_EQ(withEnglishNames(QStringLiteral(u"-\u0441"), QStringLiteral("deu")),
              QStringLiteral(u"-\u0441"));
}

TEST(ScreenText, AWordReadAgainInEnglishTakesItsPlaceOnlyWhenClearlyBetter) {
    const QString xdvi = QStringLiteral("xdvi");
    const QString ham = QStringLiteral(u"\u0445\u0430\u043c"); // хам
    EXPECT_TRUE(englishRereadWanted(ham, 40));
    EXPECT_TRUE(englishReadingWins(ham, 40, xdvi, 89));
    // Read well in its own letters, or English letters already: not read again.
    EXPECT_FALSE(englishRereadWanted(ham, 95));
    EXPECT_FALSE(englishRereadWanted(QStringLiteral("Is"), 40));
    // An option named in such letters is read again however sure; its value
    // in the language's words is not reason enough.
    EXPECT_TRUE(englishRereadWanted(QStringLiteral(u"-\u0442,"), 95));
    EXPECT_FALSE(englishRereadWanted(QStringLiteral(u"--size=\u0420\u0410\u0417"), 95));
    EXPECT_FALSE(englishReadingWins(ham, 95, xdvi, 99));
    // The English reading must be sure, surer by a margin, of English letters
    // only, one word, and of another count of characters than the first.
    EXPECT_FALSE(englishReadingWins(ham, 40, xdvi, 80));
    EXPECT_FALSE(englishReadingWins(ham, 84, xdvi, 89));
    EXPECT_FALSE(englishReadingWins(ham, 40, QStringLiteral(u"xd\u0432i"), 89));
    EXPECT_FALSE(englishReadingWins(ham, 40, QStringLiteral("x dv"), 89));
    EXPECT_FALSE(englishReadingWins(ham, 40, QStringLiteral("123!"), 89));
    EXPECT_FALSE(englishReadingWins(QStringLiteral(u"\u03ba\u03b1\u03b9"), 70,
                                    QStringLiteral("Kal"), 91)); // και
    // Among English words as many characters do not keep the first reading.
    const QString on = QStringLiteral(u"\u043e\u043f"); // оп
    EXPECT_FALSE(englishReadingWins(on, 83, QStringLiteral("on"), 95));
    EXPECT_TRUE(englishReadingWins(on, 83, QStringLiteral("on"), 95, true));
}

TEST(ScreenText, AnUnknownWordTakesAVerySureEnglishReading) {
    const WordCheck russian = [](const QString& word) {
        return word == QStringLiteral(u"сон");
    };
    const QString rus = QStringLiteral("rus");
    EXPECT_TRUE(englishForUnknownWord(QStringLiteral(u"сгоп"), 89, QStringLiteral("cron"), 95, rus,
                                      russian));
    EXPECT_TRUE(englishForUnknownWord(QStringLiteral(u"(аргоро$)"), 84, QStringLiteral("(apropos)"),
                                      96, rus, russian));
    // A word of the language, a reading less sure or not a word of English
    // letters, and twins letter for letter stay as first read.
    EXPECT_FALSE(
        englishForUnknownWord(QStringLiteral(u"сон"), 80, QStringLiteral("con"), 95, rus, russian));
    EXPECT_FALSE(englishForUnknownWord(QStringLiteral(u"сгоп"), 89, QStringLiteral("cron"), 91, rus,
                                       russian));
    EXPECT_FALSE(englishForUnknownWord(QStringLiteral(u"сгоп"), 89, QStringLiteral("c@n"), 95, rus,
                                       russian));
    EXPECT_FALSE(englishForUnknownWord(QStringLiteral(u"сгоп"), 96, QStringLiteral("cron"), 95, rus,
                                       russian));
    EXPECT_FALSE(englishForUnknownWord(QStringLiteral(u"\u039c\u0392"), 80, QStringLiteral("MB"),
                                       95, QStringLiteral("ell"), russian));
}

TEST(ScreenText, CodeReadAgainInEnglishKeepsTheLanguagesWordsAndItsDashes) {
    const auto glyphs = [](const QString& text) {
        std::vector<QString> result;
        for (const QChar c : text) {
            result.emplace_back(c);
        }
        return result;
    };
    const auto spelled = [](const std::optional<std::vector<QString>>& parts) {
        QString text;
        for (const QString& part : parts.value_or(std::vector<QString>{})) {
            text += part;
        }
        return text;
    };
    const WordCheck isWord = [](const QString& word) {
        return word == QStringLiteral(u"условие") || word == QStringLiteral(u"рама");
    };
    EXPECT_TRUE(codeLike(QStringLiteral("LANG=C")));
    EXPECT_TRUE(codeLike(QStringLiteral(u"-с,")));
    EXPECT_FALSE(codeLike(QStringLiteral(u"слово.")));

    // "$НОМЕ/.юсаЕ,": no confidence is asked of the English reading.
    const QString path = QStringLiteral(u"$НОМЕ/.юсаЕ,");
    EXPECT_EQ(spelled(englishCode(path, glyphs("$HOME/.locale,"), isWord)), "$HOME/.locale,");
    // A word of the language in code keeps its first reading, a short one does not.
    const QString option = QStringLiteral(u"--соо|=УСЛОВИЕ]");
    EXPECT_EQ(spelled(englishCode(option, glyphs("--color[=YCNOBMUE]"), isWord)),
              QStringLiteral(u"--color[=УСЛОВИЕ]"));
    const QString mail = QStringLiteral(u"<рама@x>");
    EXPECT_EQ(spelled(englishCode(mail, glyphs("<pavia@x>"), isWord)), "<pavia@x>");
    // Stays: an option that lost its dash, letters that are not English, a
    // word of the language whose place in the English reading is unclear, and
    // a reading that would keep nothing of the English one but its marks.
    EXPECT_FALSE(englishCode(QStringLiteral(u"-е,"), glyphs("ear"), isWord));
    EXPECT_FALSE(englishCode(path, glyphs(QStringLiteral(u"$HOME/.вocale,")), isWord));
    EXPECT_FALSE(englishCode(option, glyphs("--color[=YCN0BMUE]"), isWord));
    EXPECT_FALSE(englishCode(QStringLiteral(u"[=УСЛОВИЕ]"), glyphs("[=-YCNOBVE}"), isWord));
    // Nor do words of the language joined by a slash; a word that is none of
    // them still reads as code.
    EXPECT_FALSE(englishCode(QStringLiteral(u"рама/условие,"), glyphs("u/unu,"), isWord));
    EXPECT_EQ(spelled(englishCode(QStringLiteral(u"рама/юсаЕ"), glyphs("pama/locale"), isWord)),
              "pama/locale");
}

TEST(ScreenText, AnOptionsValueReadInEnglishLettersIsAWordOfTheLanguage) {
    using Span = std::pair<qsizetype, qsizetype>;
    EXPECT_EQ(optionValue(QStringLiteral("--block-size=PA3MEP")), Span(13, 6));
    EXPECT_EQ(optionValue(QStringLiteral("--hyperlink[=YC/IOBME]")), Span(13, 8));
    EXPECT_FALSE(optionValue(QStringLiteral("--manpath=/usr/share/man")));
    EXPECT_FALSE(optionValue(QStringLiteral("--exclude=*.o")));
    EXPECT_FALSE(optionValue(QStringLiteral("--long")));

    const WordCheck russian = [](const QString& word) {
        return word == QStringLiteral(u"размер") || word == QStringLiteral(u"путь") ||
               word == QStringLiteral(u"попе");
    };
    const WordCheck english = [](const QString& word) {
        return word == QStringLiteral("none");
    };
    EXPECT_EQ(
        valueInLanguage(QStringLiteral("PA3MEP"), QStringLiteral(u"=Размер]"), russian, english),
        QStringLiteral(u"РАЗМЕР"));
    EXPECT_EQ(valueInLanguage(QStringLiteral("nytb"), QStringLiteral(u"путь"), russian, english),
              QStringLiteral(u"путь"));
    // An English word stays, and so does a reading that is no word of the
    // language, or too short to tell, or not in its letters.
    EXPECT_FALSE(
        valueInLanguage(QStringLiteral("none"), QStringLiteral(u"попе"), russian, english));
    EXPECT_FALSE(
        valueInLanguage(QStringLiteral("lcol"), QStringLiteral(u"юсо!"), russian, english));
    EXPECT_FALSE(valueInLanguage(
        QStringLiteral("nyt"), QStringLiteral(u"пут"), [](const QString&) { return true; },
        english));
    EXPECT_FALSE(valueInLanguage(
        QStringLiteral("PA3MEP"), QStringLiteral("PA3MEP"), [](const QString&) { return true; },
        english));
}

TEST(ScreenText, AShortWordReadInEnglishTwinsAmongGreekIsGreek) {
    const WordCheck greek =
        listing({QStringLiteral(u"\u03b1\u03bd"), QStringLiteral(u"\u03ad\u03bd\u03b1"),
                 QStringLiteral(u"\u03b1\u03c0\u03cc"), QStringLiteral(u"\u03c4\u03bf")});
    const QString ell = QStringLiteral("ell");
    // "Av" and "Eva." read again as "Αν" and "ένα.": the accent and the case
    // come from the language's reading.
    EXPECT_TRUE(drawnAlikeInLanguage(QStringLiteral("Eva."), ell));
    EXPECT_EQ(wordInLanguage(QStringLiteral("Av"), QStringLiteral(u"\u0391\u03bd"), ell, greek),
              QStringLiteral(u"\u0391\u03bd"));
    EXPECT_EQ(
        wordInLanguage(QStringLiteral("Eva."), QStringLiteral(u"\u03ad\u03bd\u03b1."), ell, greek),
        QStringLiteral(u"\u03ad\u03bd\u03b1."));
    // Letters not drawn alike ("amd", "από"), other marks, capitals, a single
    // letter, a reading that is no word, and languages without twins stay.
    EXPECT_FALSE(drawnAlikeInLanguage(QStringLiteral("amd"), ell));
    EXPECT_FALSE(
        wordInLanguage(QStringLiteral("av"), QStringLiteral(u"\u03b1\u03c0\u03cc"), ell, greek));
    EXPECT_FALSE(
        wordInLanguage(QStringLiteral("av"), QStringLiteral(u"\u03b1\u03bd,"), ell, greek));
    EXPECT_FALSE(drawnAlikeInLanguage(QStringLiteral("TO"), ell));
    EXPECT_FALSE(drawnAlikeInLanguage(QStringLiteral("a"), ell));
    EXPECT_FALSE(drawnAlikeInLanguage(QStringLiteral("--av"), ell));
    EXPECT_FALSE(wordInLanguage(QStringLiteral("to"), QStringLiteral(u"\u03c4\u03b1"), ell, greek));
    EXPECT_FALSE(drawnAlikeInLanguage(QStringLiteral("av"), QStringLiteral("deu")));
}

TEST(ScreenText, AShortWordReadInRussianTwinsAmongEnglishIsEnglish) {
    const WordCheck english = listing({"on", "a", "in"});
    const QString rus = QStringLiteral("rus");
    // "оп" and "а" among English words read again as "on" and "a".
    EXPECT_TRUE(drawnAlikeInEnglish(QStringLiteral(u"а"), rus));
    EXPECT_EQ(wordInEnglish(QStringLiteral(u"оп,"), QStringLiteral("on,"), rus, english),
              QStringLiteral("on,"));
    // A reading whose letters are not the twins ("ин" is no "in"), one that
    // is no English word, and words in capitals stay.
    EXPECT_FALSE(wordInEnglish(QStringLiteral(u"оп"), QStringLiteral("in"), rus, english));
    EXPECT_FALSE(wordInEnglish(QStringLiteral(u"по"), QStringLiteral("no"), rus, english));
    EXPECT_FALSE(drawnAlikeInEnglish(QStringLiteral(u"А"), rus));
}

} // namespace
} // namespace pellix
