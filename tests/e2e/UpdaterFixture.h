#pragma once
// Each test gets a fresh demo installation on disk (the marker file and the old
// PELMOR.EXE), a fresh registry record pointing at it, and a working directory of
// its own for the updater. Everything is removed again at the end, and any updater
// still running is killed by its ChildProcess owner before that.

#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <string>

#include "ChildProcess.h"
#include "Files.h"

// The record in HKCU\Software\Kurvex\PELMOR; GameDir as a REG_SZ.
void StoreGameDir(const std::string& value);
// GameDir of a type the record does not accept.
void StoreGameDirAsNumber(DWORD value);
void RemoveGameDir();
void RemoveKurvexKey();

class UpdaterFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // The installation below Root(): ProductDir() holds vx_data.vpk and the old product.
    void MakeInstallation(const std::string& dirName);
    const std::string& Root() const { return root_; }
    const std::string& ProductDir() const { return productDir_; }
    std::string ProductFile() const { return productDir_ + "\\PELMOR.EXE"; }

    std::unique_ptr<ChildProcess> StartUpdater() const;
    // The updater's main window once it is visible, or null.
    static HWND WaitForMainWindow(const ChildProcess& updater);

    static const Bytes& CorrectedProduct();
    static const Bytes& OldProduct();

private:
    std::string root_;
    std::string productDir_;
};

// Window and message texts of the updater.
namespace Texts {
inline const std::string MainCaption = "アップデーター";
inline const std::string Start = "アップデート開始";
inline const std::string Exit = "終了";
inline const std::string ChangeDestination = "アップデート先変更";
inline const std::string LocationCaption = "インストール先が不明です";
inline const std::string Completed = "アップデート完了しました";
inline const std::string CompletedCaption = "情報";
inline const std::string ErrorCaption = "Pelmor_update";
}  // namespace Texts
