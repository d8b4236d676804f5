#pragma once

// The one exception the program throws: a failure that ends the running command and whose
// message is shown to the user as it stands ("File is empty", the system's reason, ...).

#include <stdexcept>

#include <QString>

namespace velt {

class Error : public std::runtime_error {
public:
    explicit Error(const QString& message)
        : std::runtime_error(message.toStdString()), m_message(message) {}
    const QString& message() const { return m_message; }

private:
    QString m_message;
};

} // namespace velt
