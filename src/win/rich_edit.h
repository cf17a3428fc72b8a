// The Rich Edit 2.0 control (class "RichEdit20A") lives in RichEd20.dll, which
// only the statistics format page needs: it is loaded when that page is first
// made, not at start-up, and freed when the main window goes. It comes from
// the system folder, never from the folder of the executable.
#pragma once

// Loads the module on the first call; true while it is loaded.
bool LoadRichEdit();
// Frees it (if loaded); a later LoadRichEdit loads it again.
void FreeRichEdit();
