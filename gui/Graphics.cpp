#include "gui/Graphics.h"

namespace kes {

void TFont::SetHeight(int h) {
    if (h == height_) return;
    height_ = h;
    Changed();
}

int TFont::Size() const {
    // Rounded like the class library: -Height * 72 / PixelsPerInch.
    const int n = -height_ * 72;
    return n >= 0 ? (n + kPixelsPerInch / 2) / kPixelsPerInch : -((-n + kPixelsPerInch / 2) / kPixelsPerInch);
}

void TFont::SetSize(int points) {
    const int n = points * kPixelsPerInch;
    SetHeight(-(n >= 0 ? (n + 36) / 72 : -((-n + 36) / 72)));
}

void TFont::SetName(const std::string& name) {
    if (name.empty() || name == name_) return;
    name_ = name;
    Changed();
}

void TFont::SetStyle(TFontStyles style) {
    if (style == style_) return;
    style_ = style;
    Changed();
}

void TFont::SetColor(TColor color) {
    if (color == color_) return;
    color_ = color;
    Changed();
}

void TFont::Assign(const TPersistent& source) {
    if (auto* f = dynamic_cast<const TFont*>(&source)) {
        if (*f == *this) return;
        name_ = f->name_;
        height_ = f->height_;
        style_ = f->style_;
        color_ = f->color_;
        Changed();
        return;
    }
    TPersistent::Assign(source);
}

void TPen::Assign(const TPersistent& source) {
    if (auto* p = dynamic_cast<const TPen*>(&source)) {
        Color = p->Color;
        Width = p->Width;
        Style = p->Style;
        return;
    }
    TPersistent::Assign(source);
}

void TBrush::Assign(const TPersistent& source) {
    if (auto* b = dynamic_cast<const TBrush*>(&source)) {
        Color = b->Color;
        Style = b->Style;
        return;
    }
    TPersistent::Assign(source);
}

}  // namespace kes
