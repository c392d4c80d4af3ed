#pragma once

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QString>
#include <QThread>

#include <functional>
#include <ostream>

// Readable QStrings in failure messages.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

namespace pellix::testing {

// Runs events until the condition holds; false after a minute without (real
// recognitions share two cores with the rest of the suite).
inline bool waitFor(const std::function<bool()>& condition) {
    QDeadlineTimer deadline(60000);
    while (!condition()) {
        if (deadline.hasExpired()) {
            return false;
        }
        QCoreApplication::processEvents();
        QThread::msleep(2);
    }
    return true;
}

} // namespace pellix::testing
