#include "Exception.h"

std::string FormatMessageText(const std::string& pattern, const std::string& name) {
    std::string text = pattern;
    const auto at = text.find("%s");
    if (at != std::string::npos) text.replace(at, 2, name);
    return text;
}
