// Scores recognized text against its ground truth after folding every run of
// whitespace to one space and composing both (NFC: "\u1f73" in a man page and
// "\u03ad" are one letter, drawn alike): prints the truth's length in characters and the
// character edits between the two, so a kind of page can add up its errors.
// Usage: pellix_score_text TRUTH_FILE TEXT_FILE
#include <QFile>
#include <QString>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

template <typename Sequence> std::size_t editDistance(const Sequence& a, const Sequence& b) {
    std::vector<std::size_t> row(b.size() + 1);
    for (std::size_t j = 0; j <= b.size(); ++j) {
        row[j] = j;
    }
    for (std::size_t i = 1; i <= a.size(); ++i) {
        std::size_t diagonal = row[0];
        row[0] = i;
        for (std::size_t j = 1; j <= b.size(); ++j) {
            const std::size_t above = row[j];
            row[j] =
                std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] == b[j - 1] ? 0 : 1)});
            diagonal = above;
        }
    }
    return row[b.size()];
}

QString readFolded(const char* path) {
    QFile file(QString::fromLocal8Bit(path));
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    return QString::fromUtf8(file.readAll()).simplified().normalized(QString::NormalizationForm_C);
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: pellix_score_text TRUTH_FILE TEXT_FILE\n");
        return 2;
    }
    const QString truth = readFolded(argv[1]);
    const QString text = readFolded(argv[2]);
    const std::u32string truth32 = truth.toStdU32String();
    const std::u32string text32 = text.toStdU32String();
    std::printf("%zu %zu\n", truth32.size(), editDistance(truth32, text32));
    return 0;
}
