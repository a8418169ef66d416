#pragma once

#include "controls/win32/Metadata.h"
#include "controls/win32/WinControl.h"

// The in-house label: a static text control with metadata properties that
// the layout sets and nothing in the program reads.
class TMLabel : public TWinControl, public MetadataTable<TMLabel, 4> {
  public:
    void Create(HWND parent, int id, std::wstring_view caption) {
        CreateWindowOf(L"STATIC", parent, id, WS_VISIBLE | SS_LEFT | SS_NOPREFIX, 0, caption);
    }

    static const MetadataField<TMLabel> kMetadata[4];

  private:
    std::int32_t FMOid = 0;
    std::string FMOnm;
    std::string FMFld;
    TMPanel* FMPanel = nullptr;  // not owned
};

inline const MetadataField<TMLabel> TMLabel::kMetadata[4] = {
    {"MOid", &TMLabel::FMOid},
    {"MOnm", &TMLabel::FMOnm},
    {"MFld", &TMLabel::FMFld},
    {"MPanel", &TMLabel::FMPanel},
};
