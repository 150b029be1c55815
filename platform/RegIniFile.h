#pragma once
// Settings kept in the registry like an .ini file: a key below HKEY_CURRENT_USER
// stands for the file, its subkeys for the sections, string values for the entries.
// Every key is opened with KEY_ALL_ACCESS, also for reading; nothing is flushed,
// the system writes the keys to disk when it likes.

#include "Exception.h"
#include "RegKey.h"

#include <string>

class ERegistryException : public Exception {
    using Exception::Exception;
};

class TRegIniFile {
public:
    // Creates the file key when it is missing. A file key that can be neither opened
    // nor created is not reported here: reads then give their default and writes raise.
    explicit TRegIniFile(const std::string& fileName);

    // REG_SZ or REG_EXPAND_SZ (unexpanded), up to the first NUL. A missing or
    // unopenable section, or a missing value, gives defaultValue; a value without
    // data gives the empty text, whatever its type. Never creates the section.
    // Raises ERegistryException for a value of another type, or when the data
    // cannot be read.
    std::string ReadString(const std::string& section, const std::string& name,
                           const std::string& defaultValue) const;

    // Creates the section if needed and stores the value as REG_SZ with its
    // terminating NUL, replacing a value of any type. Raises ERegistryException
    // when the section cannot be created or the value cannot be set.
    void WriteString(const std::string& section, const std::string& name, const std::string& value);

private:
    RegKey fileKey_;
};
