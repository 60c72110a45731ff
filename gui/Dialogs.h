#pragma once
// The platform's common dialogs: open, save, print, printer setup. Execute shows the dialog and is true on OK.
#include <string>
#include <vector>

#include "base/Component.h"
#include "base/Events.h"
#include "gui/TypInfo.h"

namespace kes {

class TCommonDialog : public TComponent {
    KES_CLASS(TCommonDialog, TComponent)
public:
    using TComponent::TComponent;
    virtual bool Execute() = 0;
    TNotifyEvent OnShow, OnClose;
};

enum TOpenOption : unsigned {
    ofReadOnly = 1u << 0,
    ofOverwritePrompt = 1u << 1,
    ofHideReadOnly = 1u << 2,
    ofNoChangeDir = 1u << 3,
    ofPathMustExist = 1u << 4,
    ofFileMustExist = 1u << 5,
    ofCreatePrompt = 1u << 6,
};
using TOpenOptions = unsigned;

class TOpenDialog : public TCommonDialog {
    KES_CLASS(TOpenDialog, TCommonDialog)
public:
    using TCommonDialog::TCommonDialog;
    std::string FileName;
    // "Text files|*.txt|All files|*.*"
    std::string Filter;
    int FilterIndex = 1;
    std::string InitialDir;
    std::string DefaultExt;
    std::string Title;
    TOpenOptions Options = ofHideReadOnly;
    bool Execute() override;
    // The filter as the platform wants it: pairs separated by NUL, ended by two NULs.
    static std::string PlatformFilter(const std::string& filter);

protected:
    virtual bool IsSave() const { return false; }
};

class TSaveDialog : public TOpenDialog {
    KES_CLASS(TSaveDialog, TOpenDialog)
public:
    using TOpenDialog::TOpenDialog;

protected:
    bool IsSave() const override { return true; }
};

class TPrintDialog : public TCommonDialog {
    KES_CLASS(TPrintDialog, TCommonDialog)
public:
    using TCommonDialog::TCommonDialog;
    int Copies = 1;
    int FromPage = 0, ToPage = 0, MinPage = 0, MaxPage = 0;
    bool Execute() override;
};

class TPrinterSetupDialog : public TCommonDialog {
    KES_CLASS(TPrinterSetupDialog, TCommonDialog)
public:
    using TCommonDialog::TCommonDialog;
    bool Execute() override;
};

}  // namespace kes
