#pragma once
// The product's fixed names, compiled in.

namespace ProductConstants {

// Where the product's installer records the installation directory:
// HKEY_CURRENT_USER\Software\Kurvex\PELMOR, value GameDir.
inline constexpr char RegistryKey[] = "Software\\Kurvex";
inline constexpr char RegistrySection[] = "PELMOR";
inline constexpr char RegistryValueName[] = "GameDir";

}  // namespace ProductConstants
