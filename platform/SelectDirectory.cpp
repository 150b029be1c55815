#include "SelectDirectory.h"

#include "Button.h"
#include "DirectoryListBox.h"
#include "DriveComboBox.h"
#include "Edit.h"
#include "FileSystem.h"
#include "Form.h"
#include "SelectDirLayout.h"
#include "Unicode.h"

namespace {

class TSelectDirDlg : public TForm {
public:
    TSelectDirDlg()
        : TForm(SelectDirLayout),
          DirEdit(Component<TEdit>("DirEdit")),
          DirList(Component<TDirectoryListBox>("DirList")),
          DriveList(Component<TDriveComboBox>("DriveList")),
          OKButton(Component<TButton>("OKButton")),
          CancelButton(Component<TButton>("CancelButton")) {
        OnShow = BindEvent(this, &TSelectDirDlg::FormShow);
        DirList->OnChange = BindEvent(this, &TSelectDirDlg::DirListChange);
        DriveList->OnChange = BindEvent(this, &TSelectDirDlg::DriveListChange);
        OKButton->OnClick = BindEvent(this, &TSelectDirDlg::OKButtonClick);
        CancelButton->OnClick = BindEvent(this, &TSelectDirDlg::CancelButtonClick);
    }

    bool Accepted() const { return accepted_; }
    std::string Directory() const { return DirEdit->Text(); }

private:
    void FormShow(TObject*) {
        CenterOnScreen();
        DirList->Open("*.*");
        DriveList->Fill();
        ShowCurrentDirectory();
    }

    void DirListChange(TObject*) { ShowCurrentDirectory(); }

    void DriveListChange(TObject*) {
        DirList->Open(DriveList->Drive());
        ShowCurrentDirectory();
    }

    void OKButtonClick(TObject*) {
        if (!DirectoryExists(DirEdit->Text()) && !ConfirmCreate()) return;
        accepted_ = true;
        Close();
    }

    void CancelButtonClick(TObject*) { Close(); }

    void ShowCurrentDirectory() { DirEdit->SetText(CurrentDirectory()); }

    bool ConfirmCreate() const {
        return MessageBoxW(Handle(), Widen("指定されたディレクトリが存在しません。作成しますか？").c_str(),
                           Widen("確認").c_str(), MB_YESNO | MB_ICONQUESTION) == IDYES;
    }

    TEdit* DirEdit;
    TDirectoryListBox* DirList;
    TDriveComboBox* DriveList;
    TButton* OKButton;
    TButton* CancelButton;
    bool accepted_ = false;
};

}  // namespace

std::optional<std::string> SelectDirectory() {
    std::string directory;
    {
        TSelectDirDlg dialog;
        dialog.ShowModal();
        if (!dialog.Accepted()) return std::nullopt;
        directory = dialog.Directory();
    }
    ForceDirectories(directory);
    return directory;
}
