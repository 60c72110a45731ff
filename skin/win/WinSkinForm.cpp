// The skinned window frame; see WinSkinForm.h.
#include "skin/win/WinSkinForm.h"

#include "skin/SkinData.h"

namespace kes {

namespace {
SkinFormHost* g_host = nullptr;
}  // namespace

void SetSkinFormHost(SkinFormHost* host) { g_host = host; }
SkinFormHost* GetSkinFormHost() { return g_host; }

struct TWinSkinForm::Impl {};

TWinSkinForm::TWinSkinForm(TComponent* owner) : TComponent(owner), impl_(std::make_unique<Impl>()) {}
TWinSkinForm::~TWinSkinForm() {
    if (g_host) g_host->RemoveForm(this);
}
void TWinSkinForm::SetWindow(HWND window, void* moduleKey, const std::string& className) {
    window_ = window;
    moduleKey_ = moduleKey;
    classNameGiven_ = className;
}
void TWinSkinForm::SkinForm(TSkinData* skin, TControl* form) {
    form_ = form;
    skin_ = skin;
}
void TWinSkinForm::SkinWindow(TSkinData* skin) { skin_ = skin; }
void TWinSkinForm::UpdateSkin() {}
void TWinSkinForm::UnskinWindow() {}
void TWinSkinForm::UnhookWindow() {}
void TWinSkinForm::ResizeToSkin(bool) {}
void TWinSkinForm::ClearSysButtons() {}
void TWinSkinForm::CreateSysButtons() {}
void TWinSkinForm::UpdateRegion() {}
void TWinSkinForm::ClearRegion() {}
void TWinSkinForm::FrameChanged() {}
void TWinSkinForm::RepaintWindow(HWND) {}
void TWinSkinForm::SkinChildWindow(HWND) {}
bool TWinSkinForm::Hooked() const { return false; }

}  // namespace kes
