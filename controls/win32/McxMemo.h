#pragma once

#include "controls/win32/Metadata.h"
#include "controls/win32/WinControl.h"

// The in-house multi-line text box. Part of the family, not used by the
// window; like the others it only adds metadata.
class TMcxMemo : public TWinControl, public MetadataTable<TMcxMemo, 3> {
  public:
    void Create(HWND parent, int id) {
        CreateWindowOf(
            L"EDIT", parent, id,
            WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN,
            WS_EX_CLIENTEDGE, L"");
    }

    static const MetadataField<TMcxMemo> kMetadata[3];

  private:
    std::int32_t FMOid = 0;
    std::string FMOnm;
    std::string FMFld;
};

inline const MetadataField<TMcxMemo> TMcxMemo::kMetadata[3] = {
    {"MOid", &TMcxMemo::FMOid},
    {"MOnm", &TMcxMemo::FMOnm},
    {"MFld", &TMcxMemo::FMFld},
};
