#pragma once
// The failures the program raises. Every one derives from Exception, whose
// message (UTF-8) is what the application's error box shows.

#include <exception>
#include <string>

class Exception : public std::exception {
public:
    explicit Exception(std::string message) : message_(std::move(message)) {}
    const std::string& Message() const noexcept { return message_; }
    const char* what() const noexcept override { return message_.c_str(); }

private:
    std::string message_;
};

class EStreamError : public Exception {
    using Exception::Exception;
};

// A stream delivered fewer bytes than asked for, or the bytes are not a valid payload.
class EReadError : public EStreamError {
public:
    EReadError() : EStreamError("ストリームからの読み込みエラー") {}
};

// A stream accepted fewer bytes than given (a full disk, a failed write).
class EWriteError : public EStreamError {
public:
    EWriteError() : EStreamError("ストリームへの書き込みエラー") {}
};

// Replaces the first "%s" of a message pattern with a name.
std::string FormatMessageText(const std::string& pattern, const std::string& name);
