#pragma once
// The texts of the application's standard error box. The box itself is
// TApplication::ShowException.

#include <exception>
#include <string>

// The message as the box shows it: a "." is added unless the message is empty
// or already ends in an ASCII character up to "." (".", "!", ",", a space ...).
std::string ErrorBoxText(const std::string& message);

// The message of a failure caught as an exception_ptr: an Exception's own
// message, or the foreign-failure text for anything else.
std::string FailureMessage(std::exception_ptr failure);
