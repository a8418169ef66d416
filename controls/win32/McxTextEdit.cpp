#include "controls/win32/McxTextEdit.h"

void TMcxTextEdit::Create(HWND parent, int id, bool readOnly) {
    CreateWindowOf(
        L"EDIT", parent, id,
        WS_VISIBLE | WS_TABSTOP | ES_LEFT | ES_AUTOHSCROLL | (readOnly ? ES_READONLY : 0),
        WS_EX_CLIENTEDGE, L"");
    // As much text as the system holds, not the 30,000 characters of a new box.
    SendMessageW(Handle(), EM_SETLIMITTEXT, 0, 0);
}
