#include "quitdetails/price_list.h"

#include <string>

#include "engine/calendar.h"
#include "engine/price_rows.h"
#include "engine/savings.h"
#include "formats/settings_records.h"
#include "win/app_state.h"
#include "win/dpi.h"
#include "win/listview.h"

QuitDetailsMessageFunction QuitDetailsMessageBox = MessageBoxA;

namespace {
constexpr int DayColumn = 0;
constexpr int DateColumn = 1;
constexpr int PriceColumn = 2;
constexpr int PlainPriceColumn = 3;
constexpr int PriceColumnWidth = 105;
constexpr int PlainPriceCapacity = 16;  // "42949672.95" and its terminator fit

bool RowDay(HWND list, int row, uint32_t& day) {
  LVITEMA item{};
  item.mask = LVIF_PARAM;
  item.iItem = row;
  if (!SendMessageA(list, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item))) return false;
  day = static_cast<uint32_t>(item.lParam);
  return true;
}

std::vector<uint32_t> RowDays(HWND list) {
  std::vector<uint32_t> days;
  const int rows = RowCount(list);
  for (int row = 0; row < rows; ++row) {
    uint32_t day = 0;
    RowDay(list, row, day);
    days.push_back(day);
  }
  return days;
}

std::string DateText(uint32_t day) {
  SysTime date;
  DayNumberToDate(static_cast<DayNumber>(day), date);
  return FormatDateText(date);
}
}  // namespace

void SetUpPriceList(HWND list) {
  ListView_SetExtendedListViewStyle(list, LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES | LVS_EX_SUBITEMIMAGES);
  AddColumn(list, DayColumn, "Date", 0, 1);
  AddColumn(list, DateColumn, "Date", Scaled(list, 100), 2);
  AddColumn(list, PriceColumn, "Price", Scaled(list, PriceColumnWidth), 2);
  AddColumn(list, PlainPriceColumn, "Price", 0, 1);
  FixColumns(list);
  SetEmptyListText(list, "No price changes in effect");
}

int AddPriceRow(HWND list, uint32_t day, uint32_t price) {
  const std::string dayText = std::to_string(day);
  LVITEMA item{};
  item.mask = LVIF_TEXT | LVIF_PARAM;
  item.iItem = static_cast<int>(PriceRowPlace(RowDays(list), day));
  item.pszText = const_cast<char*>(dayText.c_str());
  item.lParam = static_cast<LPARAM>(day);
  const int row = static_cast<int>(SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
  if (row < 0) return row;
  SetCellText(list, row, DateColumn, DateText(day).c_str());
  SetCellText(list, row, PriceColumn, FormatMoneyText({price / 100, price % 100}).c_str());
  SetCellText(list, row, PlainPriceColumn, PlainPriceText(price).c_str());
  return row;
}

int UpdatePriceRow(HWND list, int row, uint32_t day, uint32_t price) {
  PricePoint old{};
  if (!PriceRowAt(list, row, old)) return -1;
  // Unchanged, it keeps its place among the rows of its day.
  if (old.Day == day && old.Price == price) return row;
  ListView_DeleteItem(list, row);
  return AddPriceRow(list, day, price);
}

bool PriceRowAt(HWND list, int row, PricePoint& point) {
  uint32_t day = 0, price = 0;
  if (row < 0 || !RowDay(list, row, day)) return false;
  if (!ReadPlainPriceText(CellText(list, row, PlainPriceColumn, PlainPriceCapacity), price)) return false;
  point = PricePoint{day, price};
  return true;
}

std::vector<PricePoint> PriceRows(HWND list) {
  std::vector<PricePoint> rows;
  const int count = RowCount(list);
  for (int row = 0; row < count; ++row) {
    PricePoint point{};
    if (PriceRowAt(list, row, point)) rows.push_back(point);
  }
  return rows;
}

void FitPriceColumns(HWND list) {
  const int fit = static_cast<int>(SendMessageA(list, LVM_GETCOUNTPERPAGE, 0, 0));
  SetFixedColumnWidth(list, PriceColumn, fit >= RowCount(list) ? Scaled(list, PriceColumnWidth) : Scaled(list, PriceColumnWidth) - ScrollBarWidth);
  InvalidateRect(list, nullptr, TRUE);
}

void FocusPriceRow(HWND list, int row) {
  if (row < 0) return;
  const UINT both = LVIS_FOCUSED | LVIS_SELECTED;
  ListView_SetItemState(list, row, both, both);
  ListView_EnsureVisible(list, row, FALSE);
}

LRESULT PaintPriceRow(NMLVCUSTOMDRAW* draw) {
  switch (draw->nmcd.dwDrawStage) {
    case CDDS_PREPAINT:
      return CDRF_NOTIFYITEMDRAW;
    case CDDS_ITEMPREPAINT:
      PaintAlternatingRow(static_cast<int>(draw->nmcd.dwItemSpec), AppColors.rowHighlightBack, draw->clrText,
                          draw->clrTextBk);
      return CDRF_DODEFAULT;
  }
  return CDRF_DODEFAULT;
}

void ReportEntryFault(HWND owner, const char* text) {
  QuitDetailsMessageBox(owner, text, "Fumora", MB_OK | MB_ICONINFORMATION);
}
