#pragma once
// Small pieces the windows' constructors are built from: a named child control, the status bar's panels and a
// menu described as a table.
#include <cstddef>
#include <initializer_list>

#include "gui/ComCtrls.h"
#include "gui/Controls.h"
#include "gui/Menus.h"

namespace kes {

// A new control owned by `owner`, named (so that FindComponent finds it) and placed on `parent`.
template <typename T>
T* NewControl(TComponent* owner, TWinControl* parent, const char* name) {
    auto* control = new T(owner);
    control->SetName(name);
    control->SetParent(parent);
    return control;
}

struct StatusPanelSpec {
    const char* Text;
    int Width;
};

// Adds the panels to the status bar, left to right.
inline void AddStatusPanels(TStatusBar& bar, std::initializer_list<StatusPanelSpec> panels) {
    for (const StatusPanelSpec& spec : panels) {
        TStatusPanel& panel = bar.Panels().Add();
        panel.SetText(spec.Text);
        panel.SetWidth(spec.Width);
    }
}

// One item of a form's menu: the field that keeps it, the field of the item it goes under (none: `root`), its
// name and caption, and the form's handler of its click (none: the item only opens its sub-menu).
template <typename Form>
struct MenuItemSpec {
    TMenuItem* Form::*Field;
    TMenuItem* Form::*Parent;
    const char* Name;
    const char* Caption;
    void (Form::*Click)(TObject*);
};

// Makes the items in table order (each parent before its children), owned by the form.
template <typename Form, std::size_t N>
void AddMenuItems(Form& form, TMenuItem* root, const MenuItemSpec<Form> (&items)[N]) {
    for (const MenuItemSpec<Form>& spec : items) {
        TMenuItem* item = NewMenuItem(&form, spec.Parent ? form.*spec.Parent : root, spec.Name, spec.Caption);
        form.*spec.Field = item;
        if (spec.Click) item->OnClick = [&form, click = spec.Click](TObject* sender) { (form.*click)(sender); };
    }
}

}  // namespace kes
