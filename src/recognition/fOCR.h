#pragma once

#include "widgets/FramePlacer.h"

#include <QString>
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
    // Shows the window with its frame's top-left at place(frame size); see FramePlacer.
    void showPlaced(FramePlacer::Place place, const QSize& guessedFrame);
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

    FramePlacer m_placer{*this};
};

} // namespace pellix
