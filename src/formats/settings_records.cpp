#include "formats/settings_records.h"

QuitDetailsRecord QuitDetails;
AppColorsRecord AppColors;
GeneralPrefsRecord GeneralPrefs;
uint32_t hotkeyEnabled;
uint32_t hotkeyCode;
uint32_t savePositionOnExit;
int32_t LastPosX;
int32_t LastPosY;
