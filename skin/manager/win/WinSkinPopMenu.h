#pragma once
// TWinSkinPopMenu: the skin of one popup-menu window (class "#32768": context menus, the drop-downs of a
// menu bar, the system menu). The skin manager attaches one to every popup menu when the window is made;
// it paints the window's frame and the backdrop of its items from the skin's MenuBackground image, and
// keeps the composed background for the owner-drawn items. Its subclass comes off when the window is
// destroyed, or earlier with Detach (and always before the object is freed).
#include <cstdint>
#include <memory>

#include "gui/win/Canvas.h"
#include "gui/win/WindowSubclass.h"
#include "skin/data/SkinData.h"

namespace kes {

class TWinSkinPopMenu : private WindowSubclass {
public:
    TWinSkinPopMenu() = default;
    ~TWinSkinPopMenu() override;

    // Subclasses window and paints it with skin; nothing when already attached.
    void Attach(HWND window, TSkinData* skin, std::uintptr_t ownerKey);
    // Takes the subclass off (while it is still on) and drops the background.
    void Detach();
    using WindowSubclass::Attached;
    // The popup-menu window (kept after the subclass came off, until the manager drops the object).
    HWND Window() const { return window_; }
    TSkinData* Skin() const { return skin_; }
    // The menu that the popup shows (0 until the owner-drawn items claim it).
    std::uintptr_t OwnerKey = 0;
    // Set for the popups of a menu bar.
    bool MenusFlag = false;
    // The last composed background, the window's size; nullptr before the first paint.
    TBitmap* Background() const { return background_.get(); }

private:
    LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;
    // The MenuBackground object, when the skin is loaded and the object has an image.
    const TDataSkinObject* MenuImage() const;
    // The background composed for a window of this size into background_; false when it could not be made.
    bool Compose(int width, int height);
    LRESULT PaintFrame(WPARAM wp, LPARAM lp);
    // A menu window that draws its border inside its client area (Wine's menus have no non-client area)
    // gets the frame painted over that border after its own painting.
    void PaintFrameInside();
    LRESULT PrintPaint(WPARAM wp, LPARAM lp);

    HWND window_ = nullptr;
    TSkinData* skin_ = nullptr;
    std::unique_ptr<TBitmap> background_;
};

}  // namespace kes
