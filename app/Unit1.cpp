#include "Unit1.h"

#include "Application.h"
#include "ExtractPayload.h"
#include "Form1Layout.h"
#include "InstallLocation.h"
#include "MessageDlg.h"
#include "ProductConstants.h"
#include "Unit3.h"

TForm1* Form1 = nullptr;
std::string InstallDir;

namespace {

struct TBannerLine {
    int y;
    const char* text;
};

constexpr TBannerLine BannerLines[] = {
    {10, "『PELMOR』を"},
    {30, "お買い求めいただき、まことにありがとうございます。"},
    {50, "このたびは、製品の不具合により、お客様各位に多大なご迷惑を"},
    {70, "おかけしましたこと、深くお詫び申し上げます。"},
    {95, "本プログラムは製品の不具合を修正するものです。"},
    {130, "[アップデート開始] ボタンで自動的にアップデートを開始します。"},
};

// The record's directories end with a separator; one that does not still names
// the directory the product is in, not its parent.
std::string TargetPathIn(const std::string& directory) {
    const bool separated = directory.back() == '\\' || directory.back() == '/';
    return directory + (separated ? "" : "\\") + ProductConstants::TargetFileName;
}

}  // namespace

TForm1::TForm1()
    : TForm(Form1Layout),
      Image1(Component<TImage>("Image1")),
      Button1(Component<TButton>("Button1")),
      Button3(Component<TButton>("Button3")),
      Button4(Component<TButton>("Button4")) {
    OnCreate = BindEvent(this, &TForm1::FormCreate);
    OnShow = BindEvent(this, &TForm1::FormShow);
    Button1->OnClick = BindEvent(this, &TForm1::Button1Click);
    Button3->OnClick = BindEvent(this, &TForm1::Button3Click);
    Button4->OnClick = BindEvent(this, &TForm1::Button4Click);
}

void TForm1::FormCreate(TObject*) {
    CenterOnScreen();
    InstallDir = ReadInstallDir(RegIni);
}

// Runs before the window becomes visible, so Form3 is shown on its own.
void TForm1::FormShow(TObject*) {
    PaintBanner();
    if (!InstallDir.empty()) return;
    Form3->ShowModal();
    InstallDir = ReadInstallDir(RegIni);
    if (InstallDir.empty()) Close();
}

// A vertical gradient from blue to near black, then the six lines in white.
void TForm1::PaintBanner() {
    TCanvas& canvas = Image1->Canvas();
    const int height = Image1->Height();
    const int width = Image1->Width();
    for (int row = 0; row < height; ++row) {
        const int blue = (height - row) * 255 / height;
        canvas.Brush.Color = TColor(blue) << 16;
        canvas.FillRect({0, row, width, row + 1});
    }
    canvas.Brush.Style = TBrushStyle::Clear;
    canvas.Font.Height = 16;
    canvas.Font.Color = clWhite;
    for (const TBannerLine& line : BannerLines) canvas.WriteText(10, line.y, line.text);
    Image1->Invalidate();
}

// The buttons stay disabled whatever happens: there is no way back to idle.
void TForm1::Button1Click(TObject*) {
    // Only after a failed re-read of the record: never write into the current directory.
    if (InstallDir.empty()) {
        Form3->ShowModal();
        return;
    }
    Button1->SetEnabled(false);
    Button4->SetEnabled(false);
    Button3->SetEnabled(false);
    // Redraw the disabled buttons before the long, silent decode.
    Application->ProcessMessages();
    ExtractPayload(ProductConstants::PayloadResourceName, TargetPathIn(InstallDir));
    MessageDlg("アップデート完了しました", TMsgDlgType::Information);
    Close();
}

void TForm1::Button3Click(TObject*) { Close(); }

void TForm1::Button4Click(TObject*) { Form3->ShowModal(); }

bool TForm1::ExtractPayload(const std::string& resourceName, const std::string& targetPath) {
    return ::ExtractPayload(resourceName, targetPath);
}
