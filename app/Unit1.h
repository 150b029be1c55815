#pragma once
// Form1, the main window: a banner that apologises for the defect and explains the
// update, a start button and an exit button.

#include <memory>
#include <string>

#include "Button.h"
#include "Form.h"
#include "Image.h"
#include "RegIniFile.h"

class TForm1 : public TForm {
public:
    TForm1();

    TImage* Image1;
    TButton* Button1;
    TButton* Button3;
    TButton* Button4;
    // The registry accessor, held only while the location is read.
    std::unique_ptr<TRegIniFile> RegIni;

    void FormCreate(TObject* Sender);
    void FormShow(TObject* Sender);
    void Button1Click(TObject* Sender);
    void Button3Click(TObject* Sender);
    void Button4Click(TObject* Sender);

private:
    void PaintBanner();
    bool ExtractPayload(const std::string& resourceName, const std::string& targetPath);
};

extern TForm1* Form1;

// The installation directory, as read from the record; empty while unknown.
extern std::string InstallDir;
