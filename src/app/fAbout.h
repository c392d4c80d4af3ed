#pragma once

#include "platform/Shell.h"

#include <QPointer>
#include <QString>
#include <QWidget>

#include <functional>

class QLabel;
class QPushButton;

namespace pellix {

class PictureBox;

// "Major.minor" in plain decimal: 1 and 10 give "1.10".
QString FormatVersion(int major, int minor);

// The About box: product name and version, a short notice and a mail link to the
// maintainer. Fixed size; closing it destroys it, so the next one loads afresh.
class fAbout : public QWidget {
    Q_OBJECT
public:
    explicit fAbout(Shell& shell, QWidget* parent = nullptr);

    // The program's version without its revision, such as "1.3".
    static QString AppVersion();

    // Shows the box centred on `owner`, frame on frame.
    void showCentredOn(const QWidget& owner);

    // One box at a time, without an owner so it outlives `owner`: makes `box`
    // when there is none and brings it to the front. `closed` runs once the
    // box is gone and `box` has cleared.
    static void showOne(QPointer<fAbout>& box, const QWidget& owner, Shell& shell,
                        const std::function<void()>& closed);

    QPushButton* cmdOK = nullptr;
    PictureBox* Picture1 = nullptr;
    QLabel* Label0 = nullptr;
    QLabel* lblVersion = nullptr;
    QLabel* lblMailTo = nullptr;

    // The bare mail address behind lblMailTo.
    QString mailToTag() const { return m_mailToTag; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void createControls();
    void Form_Load();
    void cmdOK_Click();
    void lblMailTo_Click();

    Shell& m_shell;
    QString m_mailToTag;
};

} // namespace pellix
