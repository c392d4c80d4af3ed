#pragma once

#include <QString>
#include <QTimer>
#include <QWidget>

#include <functional>

class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace pellix {

// The result window: the recognized text, its character count and an Ok button.
// Created once, hidden; Ok unloads it, which here means hiding it and putting
// its controls back to their design values, ready for the next SetText.
class fOCR : public QWidget {
    Q_OBJECT
public:
    explicit fOCR(QWidget* parent = nullptr);

    void SetText(const QString& text);
    // Shows the window with its frame's top-left at place(frame size). The frame
    // is only known once the window manager has framed the window, so until then
    // `guessedFrame` stands in, and for a short while the window is placed again
    // whenever its real frame is not where place() wants it.
    void showPlaced(std::function<QPoint(const QSize&)> place, const QSize& guessedFrame);
    // Closes the window and discards its contents.
    void Form_Unload();

    QPushButton* cmdOK = nullptr;
    QPlainTextEdit* Text1 = nullptr;
    QLabel* Label1 = nullptr;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void cmdOK_Click();
    void setDesignValues();
    void placeAgainIfFramed();

    std::function<QPoint(const QSize&)> m_place;
    QTimer m_settle;
    int m_settleTicks = 0;
};

} // namespace pellix
