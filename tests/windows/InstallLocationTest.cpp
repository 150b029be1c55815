// The installation-location record against the real registry of the Wine prefix.
// Every test starts and ends without HKCU\Software\Kurvex and HKCU\PELMOR.

#include <windows.h>
#include <shlwapi.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "InstallLocation.h"
#include "RegIniFile.h"
#include "RegKey.h"

namespace {

const wchar_t* const KurvexPath = L"Software\\Kurvex";
const wchar_t* const SectionPath = L"Software\\Kurvex\\PELMOR";
// Where the section would land if the record fell back to the root.
const wchar_t* const RootSectionPath = L"PELMOR";

std::vector<BYTE> Utf16Bytes(const std::wstring& text, bool withNul) {
    const size_t count = (text.size() + (withNul ? 1 : 0)) * sizeof(wchar_t);
    const auto* bytes = reinterpret_cast<const BYTE*>(text.c_str());
    return std::vector<BYTE>(bytes, bytes + count);
}

// READ_CONTROL: the owner may always ask for it, also on a restricted key.
bool KeyExists(const wchar_t* path) {
    RegKey key;
    return key.Open(HKEY_CURRENT_USER, path, READ_CONTROL) == ERROR_SUCCESS;
}

struct KeyContents {
    DWORD subkeys = 0;
    DWORD values = 0;
};

KeyContents ContentsOf(const wchar_t* path) {
    RegKey key;
    EXPECT_EQ(key.Open(HKEY_CURRENT_USER, path, KEY_READ), ERROR_SUCCESS);
    KeyContents contents;
    RegQueryInfoKeyW(key.Get(), nullptr, nullptr, nullptr, &contents.subkeys, nullptr, nullptr, &contents.values,
                     nullptr, nullptr, nullptr, nullptr);
    return contents;
}

void PutValue(const wchar_t* sectionPath, DWORD type, const std::vector<BYTE>& data) {
    RegKey key;
    ASSERT_EQ(key.Create(HKEY_CURRENT_USER, sectionPath, KEY_ALL_ACCESS), ERROR_SUCCESS);
    ASSERT_EQ(RegSetValueExW(key.Get(), L"GameDir", 0, type, data.empty() ? nullptr : data.data(), DWORD(data.size())),
              ERROR_SUCCESS);
}

struct StoredValue {
    DWORD type = REG_NONE;
    std::vector<BYTE> data;
};

StoredValue StoredAt(const wchar_t* sectionPath) {
    RegKey key;
    EXPECT_EQ(key.Open(HKEY_CURRENT_USER, sectionPath, KEY_READ), ERROR_SUCCESS);
    StoredValue value;
    DWORD size = 0;
    EXPECT_EQ(RegQueryValueExW(key.Get(), L"GameDir", nullptr, &value.type, nullptr, &size), ERROR_SUCCESS);
    value.data.resize(size);
    RegQueryValueExW(key.Get(), L"GameDir", nullptr, nullptr, value.data.data(), &size);
    return value;
}

// The message of the ERegistryException raised, or "" when none is.
std::string FailureOf(const std::function<void()>& operation) {
    try {
        operation();
    } catch (const ERegistryException& failure) {
        return failure.Message();
    }
    return "";
}

// Lets everyone open the key with the given access and no more; with 0, nobody can
// open it except its owner changing the DACL.
void RestrictAccess(const wchar_t* path, DWORD allowed) {
    RegKey key;
    ASSERT_EQ(key.Open(HKEY_CURRENT_USER, path, WRITE_DAC), ERROR_SUCCESS);
    SID_IDENTIFIER_AUTHORITY worldAuthority = SECURITY_WORLD_SID_AUTHORITY;
    PSID everyone = nullptr;
    ASSERT_TRUE(AllocateAndInitializeSid(&worldAuthority, 1, SECURITY_WORLD_RID, 0, 0, 0, 0, 0, 0, 0, &everyone));
    alignas(DWORD) BYTE aclBytes[128];
    auto* acl = reinterpret_cast<ACL*>(aclBytes);
    InitializeAcl(acl, sizeof aclBytes, ACL_REVISION);
    if (allowed != 0) AddAccessAllowedAce(acl, ACL_REVISION, allowed, everyone);
    SECURITY_DESCRIPTOR descriptor;
    InitializeSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION);
    SetSecurityDescriptorDacl(&descriptor, TRUE, acl, FALSE);
    const LONG result = RegSetKeySecurity(key.Get(), DACL_SECURITY_INFORMATION, &descriptor);
    FreeSid(everyone);
    ASSERT_EQ(result, ERROR_SUCCESS);
}

// Undoes RestrictAccess; a missing key is left missing.
void AllowAll(const wchar_t* path) {
    RegKey key;
    if (key.Open(HKEY_CURRENT_USER, path, WRITE_DAC) != ERROR_SUCCESS) return;
    SECURITY_DESCRIPTOR descriptor;
    InitializeSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION);
    SetSecurityDescriptorDacl(&descriptor, TRUE, nullptr, FALSE);  // a null DACL allows everything
    ASSERT_EQ(RegSetKeySecurity(key.Get(), DACL_SECURITY_INFORMATION, &descriptor), ERROR_SUCCESS);
}

class InstallLocation : public ::testing::Test {
protected:
    void SetUp() override { RemoveKeys(); }
    void TearDown() override { RemoveKeys(); }

private:
    // Also after a run that stopped while a key was restricted.
    void RemoveKeys() {
        AllowAll(SectionPath);
        AllowAll(KurvexPath);
        SHDeleteKeyW(HKEY_CURRENT_USER, KurvexPath);
        SHDeleteKeyW(HKEY_CURRENT_USER, RootSectionPath);
        ASSERT_FALSE(KeyExists(KurvexPath));
        ASSERT_FALSE(KeyExists(RootSectionPath));
    }
};

TEST_F(InstallLocation, MissingKeyReadsEmptyAndLeavesTheKeyWithoutSection) {
    EXPECT_EQ(ReadInstallDir(), "");
    ASSERT_TRUE(KeyExists(KurvexPath));
    EXPECT_EQ(ContentsOf(KurvexPath).subkeys, 0u);
    EXPECT_EQ(ContentsOf(KurvexPath).values, 0u);
}

TEST_F(InstallLocation, MissingSectionOrValueReadsEmptyAndCreatesNothing) {
    RegKey kurvex;
    ASSERT_EQ(kurvex.Create(HKEY_CURRENT_USER, KurvexPath, KEY_ALL_ACCESS), ERROR_SUCCESS);
    EXPECT_EQ(ReadInstallDir(), "");
    EXPECT_EQ(ContentsOf(KurvexPath).subkeys, 0u);

    RegKey section;
    ASSERT_EQ(section.Create(HKEY_CURRENT_USER, SectionPath, KEY_ALL_ACCESS), ERROR_SUCCESS);
    const std::vector<BYTE> other = Utf16Bytes(L"C:\\Other\\", true);
    RegSetValueExW(section.Get(), L"OtherValue", 0, REG_SZ, other.data(), DWORD(other.size()));
    EXPECT_EQ(ReadInstallDir(), "");
    EXPECT_EQ(ContentsOf(SectionPath).values, 1u);
    EXPECT_EQ(ContentsOf(SectionPath).subkeys, 0u);
}

struct ReadCase {
    const char* what;
    DWORD type;
    std::vector<BYTE> data;
    std::string expected;
};

TEST_F(InstallLocation, StoredValueReadsAsText) {
    std::vector<BYTE> oddSized = Utf16Bytes(L"C:\\Odd\\", false);
    oddSized.push_back(0x41);
    const ReadCase cases[] = {
        {"plain directory", REG_SZ, Utf16Bytes(L"C:\\Games\\PELMOR\\", true), "C:\\Games\\PELMOR\\"},
        {"empty string, one NUL", REG_SZ, Utf16Bytes(L"", true), ""},
        {"string without data", REG_SZ, {}, ""},
        {"binary without data", REG_BINARY, {}, ""},
        {"dword without data", REG_DWORD, {}, ""},
        {"expand string stays unexpanded", REG_EXPAND_SZ, Utf16Bytes(L"%SystemDrive%\\PELMOR\\", true),
         "%SystemDrive%\\PELMOR\\"},
        {"NUL in the middle ends the text", REG_SZ, Utf16Bytes(std::wstring(L"C:\\A\\\0C:\\B\\", 10), true), "C:\\A\\"},
        {"no NUL at all: all of it", REG_SZ, Utf16Bytes(L"C:\\NoNul\\", false), "C:\\NoNul\\"},
        {"odd size: stray byte dropped", REG_SZ, oddSized, "C:\\Odd\\"},
        {"Japanese path", REG_SZ, Utf16Bytes(L"C:\\ゲーム\\PELMOR\\", true), "C:\\ゲーム\\PELMOR\\"},
    };
    for (const ReadCase& c : cases) {
        SCOPED_TRACE(c.what);
        PutValue(SectionPath, c.type, c.data);
        std::string read;
        EXPECT_EQ(FailureOf([&] { read = ReadInstallDir(); }), "");
        EXPECT_EQ(read, c.expected);
    }
}

TEST_F(InstallLocation, OtherTypesWithDataRaiseTheTypeFailure) {
    const DWORD one = 1;
    const auto* oneBytes = reinterpret_cast<const BYTE*>(&one);
    const ReadCase cases[] = {
        {"dword", REG_DWORD, std::vector<BYTE>(oneBytes, oneBytes + sizeof one), ""},
        {"binary", REG_BINARY, {0x43, 0x00, 0x3A, 0x00}, ""},
        {"multi string", REG_MULTI_SZ, Utf16Bytes(std::wstring(L"C:\\A\\\0", 6), true), ""},
    };
    for (const ReadCase& c : cases) {
        SCOPED_TRACE(c.what);
        PutValue(SectionPath, c.type, c.data);
        EXPECT_EQ(FailureOf([] { ReadInstallDir(); }), "'GameDir' のデータ型が不正です");
    }
}

TEST_F(InstallLocation, HeldAccessorIsFreedAfterTheReadAndAfterAFailure) {
    std::unique_ptr<TRegIniFile> regIni;
    PutValue(SectionPath, REG_SZ, Utf16Bytes(L"C:\\Games\\", true));
    EXPECT_EQ(ReadInstallDir(regIni), "C:\\Games\\");
    EXPECT_EQ(regIni, nullptr);

    PutValue(SectionPath, REG_DWORD, std::vector<BYTE>(4, 0));
    EXPECT_NE(FailureOf([&] { ReadInstallDir(regIni); }), "");
    EXPECT_EQ(regIni, nullptr);
}

TEST_F(InstallLocation, WriteCreatesTheSectionAndStoresRegSzWithItsNul) {
    WriteInstallDir("C:\\ゲーム\\PELMOR\\");

    const StoredValue stored = StoredAt(SectionPath);
    EXPECT_EQ(stored.type, DWORD(REG_SZ));
    EXPECT_EQ(stored.data, Utf16Bytes(L"C:\\ゲーム\\PELMOR\\", true));
    EXPECT_EQ(ReadInstallDir(), "C:\\ゲーム\\PELMOR\\");
}

TEST_F(InstallLocation, WriteReplacesAValueOfAnotherType) {
    PutValue(SectionPath, REG_DWORD, std::vector<BYTE>(4, 0x7F));
    WriteInstallDir("D:\\PELMOR\\");

    const StoredValue stored = StoredAt(SectionPath);
    EXPECT_EQ(stored.type, DWORD(REG_SZ));
    EXPECT_EQ(stored.data.size(), (std::wstring(L"D:\\PELMOR\\").size() + 1) * sizeof(wchar_t));
    EXPECT_EQ(ReadInstallDir(), "D:\\PELMOR\\");
}

TEST_F(InstallLocation, EmptyWriteReadsBackAsUnknown) {
    WriteInstallDir("");
    EXPECT_EQ(StoredAt(SectionPath).data, Utf16Bytes(L"", true));
    EXPECT_EQ(ReadInstallDir(), "");
}

// An ANSI reader sees the text in the ANSI code page, its size counting one NUL.
TEST_F(InstallLocation, AnsiReaderSeesTheTextAndOneNulInCodePage932) {
    wchar_t expectedAcp[8] = L"";
    GetEnvironmentVariableW(L"PELMOR_EXPECT_ACP", expectedAcp, 8);
    if (std::wstring(expectedAcp) == L"932") {
        ASSERT_EQ(GetACP(), 932u);
    }
    if (GetACP() != 932) {
        GTEST_SKIP() << "ANSI code page is " << GetACP();
    }

    WriteInstallDir("C:\\ゲーム\\PELMOR\\");
    // "C:\ゲーム\PELMOR\" in code page 932: the three kana take two bytes each.
    const std::string cp932 = "C:\\\x83\x51\x81\x5B\x83\x80\\PELMOR\\";

    RegKey section;
    ASSERT_EQ(section.Open(HKEY_CURRENT_USER, SectionPath, KEY_READ), ERROR_SUCCESS);
    DWORD type = REG_NONE;
    DWORD size = 0;
    ASSERT_EQ(RegQueryValueExA(section.Get(), "GameDir", nullptr, &type, nullptr, &size), ERROR_SUCCESS);
    EXPECT_EQ(type, DWORD(REG_SZ));
    EXPECT_EQ(size, cp932.size() + 1);

    std::string data(size, '\xFF');
    ASSERT_EQ(RegQueryValueExA(section.Get(), "GameDir", nullptr, nullptr, reinterpret_cast<BYTE*>(&data[0]), &size),
              ERROR_SUCCESS);
    EXPECT_EQ(data, cp932 + '\0');
}

// Readable, but not with full access: as good as missing.
TEST_F(InstallLocation, SectionThatCannotBeOpenedWithFullAccess) {
    PutValue(SectionPath, REG_SZ, Utf16Bytes(L"C:\\ReadOnly\\", true));
    RestrictAccess(SectionPath, KEY_READ);
    RegKey probe;
    ASSERT_EQ(probe.Open(HKEY_CURRENT_USER, SectionPath, KEY_READ), ERROR_SUCCESS);
    ASSERT_EQ(probe.Open(HKEY_CURRENT_USER, SectionPath, KEY_ALL_ACCESS), ERROR_ACCESS_DENIED)
        << "the registry does not enforce the key's DACL";

    EXPECT_EQ(ReadInstallDir(), "");
    EXPECT_EQ(FailureOf([] { WriteInstallDir("C:\\New\\"); }), "キー PELMOR の作成に失敗しました");
}

// The record never falls back to a key PELMOR directly below HKEY_CURRENT_USER.
TEST_F(InstallLocation, KurvexThatCannotBeOpenedNorCreatedLeavesTheRootAlone) {
    PutValue(RootSectionPath, REG_SZ, Utf16Bytes(L"C:\\Unrelated\\", true));
    RegKey kurvex;
    ASSERT_EQ(kurvex.Create(HKEY_CURRENT_USER, KurvexPath, KEY_ALL_ACCESS), ERROR_SUCCESS);
    kurvex.Close();
    RestrictAccess(KurvexPath, 0);
    ASSERT_EQ(kurvex.Create(HKEY_CURRENT_USER, KurvexPath, KEY_ALL_ACCESS), ERROR_ACCESS_DENIED)
        << "the registry does not enforce the key's DACL";

    EXPECT_EQ(ReadInstallDir(), "");
    EXPECT_EQ(FailureOf([] { WriteInstallDir("C:\\New\\"); }), "キー PELMOR の作成に失敗しました");
    EXPECT_EQ(StoredAt(RootSectionPath).data, Utf16Bytes(L"C:\\Unrelated\\", true));
}

}  // namespace
