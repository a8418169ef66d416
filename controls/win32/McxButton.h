#pragma once

#include "controls/win32/Metadata.h"
#include "controls/win32/WinControl.h"

// The in-house button: a push button with metadata properties that the
// layout sets and nothing in the program reads.
class TMcxButton : public TWinControl, public MetadataTable<TMcxButton, 3> {
  public:
    void Create(HWND parent, int id, std::wstring_view caption) {
        CreateWindowOf(L"BUTTON", parent, id, WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, 0, caption);
    }

    static const MetadataField<TMcxButton> kMetadata[3];

  private:
    std::string FMFld;
    std::string FMValStr;
    std::int32_t FMValInt = 0;
};

inline const MetadataField<TMcxButton> TMcxButton::kMetadata[3] = {
    {"MFld", &TMcxButton::FMFld},
    {"MValStr", &TMcxButton::FMValStr},
    {"MValInt", &TMcxButton::FMValInt},
};
