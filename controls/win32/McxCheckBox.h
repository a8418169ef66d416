#pragma once

#include "controls/win32/Metadata.h"
#include "controls/win32/WinControl.h"

// The in-house check box: a check box with metadata properties that the
// layout sets and nothing in the program reads.
class TMcxCheckBox : public TWinControl, public MetadataTable<TMcxCheckBox, 10> {
  public:
    void Create(HWND parent, int id, std::wstring_view caption) {
        CreateWindowOf(L"BUTTON", parent, id, WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX, 0,
                       caption);
    }
    bool Checked() const { return SendMessageW(Handle(), BM_GETCHECK, 0, 0) == BST_CHECKED; }

    static const MetadataField<TMcxCheckBox> kMetadata[10];

  private:
    std::int32_t FMOid = 0;
    std::string FMOnm;
    std::string FMFld;
    std::string FMDefaultValue;
    std::string FMDefaultValueKnd;
    std::int32_t FMReadonlyLevel = 0;
    TMPanel* FMPanel = nullptr;  // not owned
    TMLabel* FMLabel = nullptr;  // not owned
    bool FMNotNull = false;
    bool FMSave = false;
};

inline const MetadataField<TMcxCheckBox> TMcxCheckBox::kMetadata[10] = {
    {"MOid", &TMcxCheckBox::FMOid},
    {"MOnm", &TMcxCheckBox::FMOnm},
    {"MFld", &TMcxCheckBox::FMFld},
    {"MDefaultValue", &TMcxCheckBox::FMDefaultValue},
    {"MDefaultValueKnd", &TMcxCheckBox::FMDefaultValueKnd},
    {"MReadonlyLevel", &TMcxCheckBox::FMReadonlyLevel},
    {"MPanel", &TMcxCheckBox::FMPanel},
    {"MLabel", &TMcxCheckBox::FMLabel},
    {"MNotNull", &TMcxCheckBox::FMNotNull},
    {"MSave", &TMcxCheckBox::FMSave},
};
