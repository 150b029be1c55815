#include "InstallLocation.h"

#include "ProductConstants.h"

namespace {

// Frees the accessor when the read ends, by a result or by a failure.
class HolderRelease {
public:
    explicit HolderRelease(std::unique_ptr<TRegIniFile>& holder) : holder_(holder) {}
    HolderRelease(const HolderRelease&) = delete;
    HolderRelease& operator=(const HolderRelease&) = delete;
    ~HolderRelease() { holder_.reset(); }

private:
    std::unique_ptr<TRegIniFile>& holder_;
};

}  // namespace

std::string ReadInstallDir() {
    std::unique_ptr<TRegIniFile> regIni;
    return ReadInstallDir(regIni);
}

std::string ReadInstallDir(std::unique_ptr<TRegIniFile>& holder) {
    holder = std::make_unique<TRegIniFile>(ProductConstants::RegistryKey);
    const HolderRelease release(holder);
    return holder->ReadString(ProductConstants::RegistrySection, ProductConstants::RegistryValueName, "");
}

void WriteInstallDir(const std::string& installDir) {
    const auto regIni = std::make_unique<TRegIniFile>(ProductConstants::RegistryKey);
    regIni->WriteString(ProductConstants::RegistrySection, ProductConstants::RegistryValueName, installDir);
}
