#include "ErrorBox.h"

#include "Exception.h"

namespace {

// A failure that is none of ours (std::bad_alloc and the like) has no message
// meant for the user. It is named as Windows names a C++ exception that
// leaves a program: by its exception code.
constexpr unsigned long ForeignExceptionCode = 0xE06D7363;

// Formatted by hand: printf would bring MinGW's whole formatter, floating point
// included, into the program for this one number.
std::string ForeignFailureMessage() {
    std::string text = "外部例外 ";
    for (int shift = 28; shift >= 0; shift -= 4)
        text += "0123456789ABCDEF"[(ForeignExceptionCode >> shift) & 0xF];
    return text;
}

}  // namespace

std::string ErrorBoxText(const std::string& message) {
    // In UTF-8 every byte of a non-ASCII character is 0x80 or above, so a
    // message ending in a Japanese character always gains the ".".
    if (!message.empty() && static_cast<unsigned char>(message.back()) > '.') return message + ".";
    return message;
}

std::string FailureMessage(std::exception_ptr failure) {
    try {
        std::rethrow_exception(failure);
    } catch (const Exception& e) {
        return e.Message();
    } catch (...) {
        return ForeignFailureMessage();
    }
}
