#include "recognition/fOCR.h"

#include "widgets/Fonts.h"

#include <QCloseEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

namespace pellix {

namespace {

// Design sizes in twips, at 15 twips per pixel.
constexpr int TwipsPerPixel = 15;
constexpr int px(int twips) {
    return twips / TwipsPerPixel;
}

} // namespace

fOCR::fOCR(QWidget* parent) : QWidget(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint) {
    setObjectName(QStringLiteral("fOCR"));
    setWindowTitle(QStringLiteral("Pellix - Recognized characters"));
    setWindowIcon(programIcon());
    setFont(calibriFont());
    setFixedSize(px(9765), px(4665));

    cmdOK = new QPushButton(QStringLiteral("&Ok"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setGeometry(px(8160), px(4200), px(1320), px(375));

    Text1 = new QPlainTextEdit(this);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setGeometry(px(240), px(240), px(9255), px(3855));
    Text1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);

    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(px(240), px(4200), px(5295), px(255));
    makeBlueUnderlined(*Label1);

    connect(cmdOK, &QPushButton::clicked, this, [this] { cmdOK_Click(); });
    setDesignValues();
}

void fOCR::showPlaced(FramePlacer::Place place, const QSize& guessedFrame) {
    m_placer.show(std::move(place), guessedFrame);
    raise();
}

void fOCR::setDesignValues() {
    Text1->setPlainText(QStringLiteral("Text1\r\n"));
    Label1->setText(QStringLiteral("Label1"));
}

void fOCR::SetText(const QString& text) {
    Text1->setPlainText(text);
    Label1->setText(
        QStringLiteral("Recognized [%1] characters are stored in Clipboard.").arg(text.size()));
}

void fOCR::cmdOK_Click() {
    Form_Unload();
}

void fOCR::Form_Unload() {
    m_placer.stop();
    hide();
    // Unloaded means gone: the next showing gets a new window, placed afresh
    // by the window manager like the first.
    destroy();
    setDesignValues();
}

// Closing from the title bar unloads the window just as Ok does, once the
// close event is over.
void fOCR::closeEvent(QCloseEvent* event) {
    event->ignore();
    QMetaObject::invokeMethod(this, &fOCR::Form_Unload, Qt::QueuedConnection);
}

} // namespace pellix
