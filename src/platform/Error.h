#pragma once

#include <QString>
#include <stdexcept>

namespace pellix {

// A failure that travels to the caller with a number and a description, as the
// program's procedures report them. `detail` carries what the operating system
// or library said, for the user's eyes only; callers never parse it.
class Error : public std::runtime_error {
public:
    Error(int number, QString description, QString detail = {})
        : std::runtime_error(description.toStdString()), m_number(number),
          m_description(std::move(description)), m_detail(std::move(detail)) {}

    int number() const { return m_number; }
    const QString& description() const { return m_description; }
    const QString& detail() const { return m_detail; }

private:
    int m_number;
    QString m_description;
    QString m_detail;
};

} // namespace pellix
