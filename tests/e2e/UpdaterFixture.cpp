#include "UpdaterFixture.h"

#include <shlwapi.h>

#include "Unicode.h"
#include "WindowFinder.h"

namespace {

const wchar_t* const KurvexKey = L"Software\\Kurvex";
const wchar_t* const SectionKey = L"Software\\Kurvex\\PELMOR";

const std::string UpdaterPath = FromUnixPath(UPDATER_PATH);

}  // namespace

void UpdaterFixture::SetUp() {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    root_ = Narrow(temp) + "pelmor-e2e-" + std::to_string(GetCurrentProcessId());
    RemoveTree(root_);
    ASSERT_TRUE(MakeDirectory(root_));
    ASSERT_TRUE(MakeDirectory(root_ + "\\cwd"));
    ASSERT_FALSE(CorrectedProduct().empty());
    ASSERT_FALSE(OldProduct().empty());
    ASSERT_NE(CorrectedProduct(), OldProduct());
    RemoveKurvexKey();
    MakeInstallation("PELMOR");
    // As the installer leaves it: the directory with a trailing separator.
    StoreGameDir(productDir_ + "\\");
}

void UpdaterFixture::TearDown() {
    RemoveKurvexKey();
    RemoveTree(root_);
}

void UpdaterFixture::MakeInstallation(const std::string& dirName) {
    MakeDirectory(root_ + "\\Kurvex");
    productDir_ = root_ + "\\Kurvex\\" + dirName;
    ASSERT_TRUE(MakeDirectory(productDir_)) << productDir_;
    ASSERT_TRUE(WriteFileBytes(productDir_ + "\\vx_data.vpk", Bytes(64, 0x5A)));
    ASSERT_TRUE(WriteFileBytes(ProductFile(), OldProduct()));
}

namespace {

void StoreGameDirData(DWORD type, const void* data, DWORD size) {
    HKEY section = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, SectionKey, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                              nullptr, &section, nullptr),
              ERROR_SUCCESS);
    const LONG result = RegSetValueExW(section, L"GameDir", 0, type, static_cast<const BYTE*>(data), size);
    RegCloseKey(section);
    ASSERT_EQ(result, ERROR_SUCCESS);
}

}  // namespace

void StoreGameDir(const std::string& value) {
    const std::wstring data = Widen(value);
    StoreGameDirData(REG_SZ, data.c_str(), DWORD((data.size() + 1) * sizeof(wchar_t)));
}

void StoreGameDirAsNumber(DWORD value) { StoreGameDirData(REG_DWORD, &value, sizeof value); }

void RemoveGameDir() {
    HKEY section = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, SectionKey, 0, KEY_ALL_ACCESS, &section) != ERROR_SUCCESS) return;
    RegDeleteValueW(section, L"GameDir");
    RegCloseKey(section);
}

void RemoveKurvexKey() { SHDeleteKeyW(HKEY_CURRENT_USER, KurvexKey); }

std::unique_ptr<ChildProcess> UpdaterFixture::StartUpdater() const {
    return std::make_unique<ChildProcess>(UpdaterPath, root_ + "\\cwd");
}

HWND UpdaterFixture::WaitForMainWindow(const ChildProcess& updater) {
    return WaitForVisibleWindow(updater.Id(), Texts::MainCaption);
}

const Bytes& UpdaterFixture::CorrectedProduct() {
    static const Bytes bytes = ReadFileBytes(FromUnixPath(CORRECTED_PRODUCT_PATH));
    return bytes;
}

const Bytes& UpdaterFixture::OldProduct() {
    static const Bytes bytes = ReadFileBytes(FromUnixPath(OLD_PRODUCT_PATH));
    return bytes;
}
