#pragma once
// The product's fixed names, compiled in.

namespace ProductConstants {

// Where the product's installer records the installation directory:
// HKEY_CURRENT_USER\Software\Kurvex\PELMOR, value GameDir.
inline constexpr char RegistryKey[] = "Software\\Kurvex";
inline constexpr char RegistrySection[] = "PELMOR";
inline constexpr char RegistryValueName[] = "GameDir";

// One updater at a time within a logon; no namespace prefix.
inline constexpr char MutexName[] = "QEX_SETUP";

// The packed corrected executable among the updater's resources (RCDATA).
inline constexpr char PayloadResourceName[] = "EXE";

// The product executable in the installation directory.
inline constexpr char TargetFileName[] = "PELMOR.EXE";

// Its presence in a directory identifies an installation of the product.
inline constexpr char MarkerFileName[] = "vx_data.vpk";

}  // namespace ProductConstants
