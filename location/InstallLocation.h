#pragma once
// The record of where the product is installed: the string value GameDir in
// HKEY_CURRENT_USER\Software\Kurvex\PELMOR (see ProductConstants.h), an absolute
// directory ending with a separator. The empty text means the location is unknown.
//
// Each operation makes a fresh TRegIniFile on Software\Kurvex for its single read or
// write and frees it right after; that also creates Software\Kurvex when it is missing.
// Failures are ERegistryException (RegIniFile.h) and are left to the caller.

#include "RegIniFile.h"

#include <memory>
#include <string>

// The empty text when there is no value, or a value without data.
std::string ReadInstallDir();

// The same read, with the accessor kept in the caller's holder while the read runs
// (the main window keeps it in its member RegIni). The holder is empty again when
// the read returns, and also when it raises.
std::string ReadInstallDir(std::unique_ptr<TRegIniFile>& holder);

// Stored as given: the caller appends the separator.
void WriteInstallDir(const std::string& installDir);
