#include "engine/savings.h"

SysTime LocalNow;
DayNumber TodayDayNumber;
DayNumber QuitDayNumber;
int QuitPending;
int32_t DaysQuit;
uint32_t CigarettesNotSmoked;
SavingsTotal MoneySaved;
SysTime LifeSavedMoment;
ElapsedSpan QuitSpan;
ElapsedSpan LifeSavedSpan;
