#pragma once
// Form3, the dialog shown when the installation location is unknown. It
// explains what to do and lets the user leave; a hidden button lets the user
// point at an installation, recognised by its marker file, and records it.

#include "Button.h"
#include "Form.h"
#include "Label.h"

class TForm3 : public TForm {
public:
    TForm3();

    TLabel* Label1;
    TLabel* Label2;
    TLabel* Label6;
    TLabel* Label3;
    TLabel* Label4;
    TButton* Button2;
    TButton* Button3;

    void FormShow(TObject* Sender);
    void Button2Click(TObject* Sender);
    void Button3Click(TObject* Sender);
};

extern TForm3* Form3;
