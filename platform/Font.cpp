#include "Font.h"

#include "Exception.h"
#include "Unicode.h"

TFont::TFont(const std::string& face, int height, BYTE charSet)
    : handle_(CreateFontW(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, charSet, OUT_DEFAULT_PRECIS,
                          CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                          Widen(face).c_str())) {
    if (!handle_) throw Exception("フォントを作成できません");
}
