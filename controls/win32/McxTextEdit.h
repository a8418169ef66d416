#pragma once

#include "controls/win32/Metadata.h"
#include "controls/win32/WinControl.h"

// The in-house single-line text box: an edit control with metadata
// properties that the layout sets and nothing in the program reads. The two
// check-box references lie before the three flags among the fields.
class TMcxTextEdit : public TWinControl, public MetadataTable<TMcxTextEdit, 13> {
  public:
    // A read-only box can still take the focus and have its text selected.
    void Create(HWND parent, int id, bool readOnly);

    static const MetadataField<TMcxTextEdit> kMetadata[13];

  private:
    std::int32_t FMOid = 0;
    std::string FMOnm;
    std::string FMFld;
    std::string FMDefaultValue;
    std::string FMDefaultValueKnd;
    std::int32_t FMReadonlyLevel = 0;
    TMPanel* FMPanel = nullptr;           // not owned
    TMLabel* FMLabel = nullptr;           // not owned
    TMcxCheckBox* FMLikeLeft = nullptr;   // not owned
    TMcxCheckBox* FMLikeRight = nullptr;  // not owned
    bool FMNotNull = false;
    bool FMEqual = false;
    bool FMSave = false;
};

inline const MetadataField<TMcxTextEdit> TMcxTextEdit::kMetadata[13] = {
    {"MOid", &TMcxTextEdit::FMOid},
    {"MOnm", &TMcxTextEdit::FMOnm},
    {"MFld", &TMcxTextEdit::FMFld},
    {"MDefaultValue", &TMcxTextEdit::FMDefaultValue},
    {"MDefaultValueKnd", &TMcxTextEdit::FMDefaultValueKnd},
    {"MReadonlyLevel", &TMcxTextEdit::FMReadonlyLevel},
    {"MPanel", &TMcxTextEdit::FMPanel},
    {"MLabel", &TMcxTextEdit::FMLabel},
    {"MNotNull", &TMcxTextEdit::FMNotNull},
    {"MEqual", &TMcxTextEdit::FMEqual},
    {"MSave", &TMcxTextEdit::FMSave},
    {"MLikeLeft", &TMcxTextEdit::FMLikeLeft},
    {"MLikeRight", &TMcxTextEdit::FMLikeRight},
};
