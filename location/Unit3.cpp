#include "Unit3.h"

#include "FileSystem.h"
#include "Form3Layout.h"
#include "InstallLocation.h"
#include "ProductConstants.h"
#include "SelectDirectory.h"

TForm3* Form3 = nullptr;

TForm3::TForm3()
    : TForm(Form3Layout),
      Label1(Component<TLabel>("Label1")),
      Label2(Component<TLabel>("Label2")),
      Label6(Component<TLabel>("Label6")),
      Label3(Component<TLabel>("Label3")),
      Label4(Component<TLabel>("Label4")),
      Button2(Component<TButton>("Button2")),
      Button3(Component<TButton>("Button3")) {
    OnShow = BindEvent(this, &TForm3::FormShow);
    Button2->OnClick = BindEvent(this, &TForm3::Button2Click);
    Button3->OnClick = BindEvent(this, &TForm3::Button3Click);
}

void TForm3::FormShow(TObject*) { CenterOnScreen(); }

// The chosen text is used as the chooser returns it: a drive root or a typed
// trailing separator gives two separators in a row, and they are stored so.
void TForm3::Button2Click(TObject*) {
    const auto directory = SelectDirectory();
    if (!directory) return;
    if (!FileExists(*directory + "\\" + ProductConstants::MarkerFileName)) return;
    WriteInstallDir(*directory + "\\");
    Close();
}

void TForm3::Button3Click(TObject*) { Close(); }
