// Shows lines of text as a desktop program does, as labels and buttons in one
// face, size and pair of colours, so the benchmark can photograph real UI text.
// Usage: pellix_bench_ui TITLE TEXTFILE PIXELS FOREGROUND BACKGROUND
#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <QWidget>

#include <cstdio>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    if (argc != 6) {
        std::fprintf(stderr,
                     "usage: pellix_bench_ui TITLE TEXTFILE PIXELS FOREGROUND BACKGROUND\n");
        return 2;
    }
    QFile file(QString::fromLocal8Bit(argv[2]));
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        std::fprintf(stderr, "pellix_bench_ui: cannot read %s\n", argv[2]);
        return 1;
    }
    const QString foreground = QString::fromLatin1(argv[4]);
    QWidget window;
    window.setWindowTitle(QString::fromLocal8Bit(argv[1]));
    window.setStyleSheet(
        QStringLiteral("* { background: %1; color: %2; font-family: 'DejaVu Sans'; "
                       "font-size: %3px; } QPushButton { border: 1px solid %2; "
                       "padding: 4px 16px; }")
            .arg(QString::fromLatin1(argv[5]), foreground, QString::fromLatin1(argv[3])));
    auto* layout = new QVBoxLayout(&window);
    layout->setContentsMargins(16, 12, 16, 12);
    // Short phrases become buttons, longer ones labels, as in a dialog.
    for (const QString& line : QString::fromUtf8(file.readAll()).split('\n', Qt::SkipEmptyParts)) {
        if (line.count(' ') < 2) {
            auto* button = new QPushButton(line);
            button->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
            layout->addWidget(button);
        } else {
            layout->addWidget(new QLabel(line));
        }
    }
    window.show();
    return QApplication::exec();
}
