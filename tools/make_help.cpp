// Renders the help document from its Markdown source to PDF with Qt's own
// writer: make_help SOURCE.md OUTPUT.pdf
#include <QFile>
#include <QFont>
#include <QGuiApplication>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QTextDocument>

#include <cstdio>

namespace {

bool readText(const QString& path, QString& text) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "make_help: cannot read %s: %s\n", qPrintable(path),
                     qPrintable(file.errorString()));
        return false;
    }
    text = QString::fromUtf8(file.readAll());
    return true;
}

} // namespace

int main(int argc, char* argv[]) {
    QGuiApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: make_help SOURCE.md OUTPUT.pdf\n");
        return 2;
    }
    const QString source = QString::fromLocal8Bit(argv[1]);
    const QString output = QString::fromLocal8Bit(argv[2]);
    QString markdown;
    if (!readText(source, markdown)) {
        return 1;
    }

    QTextDocument document;
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPointSizeF(10.5);
    document.setDefaultFont(font);
    document.setMarkdown(markdown);

    QPdfWriter writer(output);
    writer.setTitle(QStringLiteral("Pellix Help"));
    writer.setCreator(QStringLiteral("Pellix"));
    writer.setResolution(300);
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                     QMarginsF(20, 18, 20, 18), QPageLayout::Millimeter));
    document.print(&writer);

    if (!QFile::exists(output) || QFile(output).size() == 0) {
        std::fprintf(stderr, "make_help: nothing was written to %s\n", qPrintable(output));
        return 1;
    }
    return 0;
}
