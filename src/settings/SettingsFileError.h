#pragma once

#include <QString>
#include <stdexcept>

// A settings file that cannot be written or read. The message is meant for
// the user as it stands ("Unable to write to <path>").
class SettingsFileError : public std::runtime_error
{
public:
    explicit SettingsFileError(const QString &message)
        : std::runtime_error(message.toStdString()), m_message(message)
    {
    }

    const QString &message() const { return m_message; }

private:
    QString m_message;
};
