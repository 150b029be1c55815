#include "RegIniFile.h"

#include "Unicode.h"

// <windows.h> maps FormatMessage to FormatMessageW; here it is the one of Exception.h.
#undef FormatMessage

namespace {

// The accessor's messages; "%s" is the value's or the section's name.
const char* const InvalidDataTypeMessage = "'%s' のデータ型が不正です";
const char* const ReadFailedMessage = "'%s' の取得に失敗しました";
const char* const WriteFailedMessage = "'%s' の設定に失敗しました";
const char* const CreateKeyFailedMessage = "キー %s の作成に失敗しました";

// The data of a string value comes as UTF-16; a stray last byte of an odd-sized
// value belongs to no character and is dropped.
std::wstring TextUpToFirstNul(std::wstring units, DWORD byteCount) {
    units.resize(byteCount / sizeof(wchar_t));
    const auto nul = units.find(L'\0');
    if (nul != std::wstring::npos) units.resize(nul);
    return units;
}

}  // namespace

TRegIniFile::TRegIniFile(const std::string& fileName) {
    fileKey_.Create(HKEY_CURRENT_USER, Widen(fileName), KEY_ALL_ACCESS);
}

std::string TRegIniFile::ReadString(const std::string& section, const std::string& name,
                                    const std::string& defaultValue) const {
    // Without the file key the section is not looked for anywhere else: below the
    // root it would be some other program's key of the same name.
    if (!fileKey_) return defaultValue;

    RegKey sectionKey;
    if (sectionKey.Open(fileKey_.Get(), Widen(section), KEY_ALL_ACCESS) != ERROR_SUCCESS) return defaultValue;

    const std::wstring wideName = Widen(name);
    DWORD type = REG_NONE;
    DWORD size = 0;
    if (RegQueryValueExW(sectionKey.Get(), wideName.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
        return defaultValue;
    if (size == 0) return {};

    // Rounded up so that an odd size still fits; the value may also have grown
    // since the size was asked for, and then this read fails.
    std::wstring units((size + 1) / sizeof(wchar_t), L'\0');
    if (RegQueryValueExW(sectionKey.Get(), wideName.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&units[0]),
                         &size) != ERROR_SUCCESS)
        throw ERegistryException(FormatMessage(ReadFailedMessage, name));
    if (type != REG_SZ && type != REG_EXPAND_SZ)
        throw ERegistryException(FormatMessage(InvalidDataTypeMessage, name));
    return Narrow(TextUpToFirstNul(std::move(units), size));
}

void TRegIniFile::WriteString(const std::string& section, const std::string& name, const std::string& value) {
    const std::wstring wideSection = Widen(section);
    {
        RegKey created;
        if (!fileKey_ || created.Create(fileKey_.Get(), wideSection, KEY_ALL_ACCESS) != ERROR_SUCCESS)
            throw ERegistryException(FormatMessage(CreateKeyFailedMessage, section));
    }

    // Opened again for the value: should the section vanish or be locked between
    // the two calls, nothing is written and nothing is raised.
    RegKey sectionKey;
    if (sectionKey.Open(fileKey_.Get(), wideSection, KEY_ALL_ACCESS) != ERROR_SUCCESS) return;

    const std::wstring text = Widen(value);
    const DWORD byteCount = DWORD((text.size() + 1) * sizeof(wchar_t));
    if (RegSetValueExW(sectionKey.Get(), Widen(name).c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                       byteCount) != ERROR_SUCCESS)
        throw ERegistryException(FormatMessage(WriteFailedMessage, name));
}
