#pragma once
// A numbered run-time error with a source and a description, raised by library routines
// (the settings store, the JPEG writer) and caught by the windows that call them.
#include <QString>
#include <cstdint>
#include <stdexcept>

class TolvaneError : public std::runtime_error {
public:
    TolvaneError(std::uint32_t number, QString source, QString description, QString reason = {})
        : std::runtime_error(description.toStdString()), number_(number), source_(std::move(source)),
          description_(std::move(description)), reason_(std::move(reason))
    {
    }
    std::uint32_t number() const { return number_; }
    const QString& source() const { return source_; }
    const QString& description() const { return description_; }
    // The operating system's words for what failed, when it was a system call; else empty.
    const QString& reason() const { return reason_; }
    // The description, followed by the reason when there is one: for the user.
    QString fullText() const
    {
        return reason_.isEmpty() ? description_ : description_ + QStringLiteral(": ") + reason_;
    }

private:
    std::uint32_t number_;
    QString source_;
    QString description_;
    QString reason_;
};
