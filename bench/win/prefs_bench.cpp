// The preferences dialog's costs under Wine, printed (targets: opening to the
// first paint under 50 ms; one keystroke in a full template, with its
// re-highlighting and preview, under 5 ms). Run it with scripts/wine-run in a
// test environment (README, Benchmarks).
#include <windows.h>
#include <commctrl.h>
#include <richedit.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "app/startup.h"
#include "bench_timing.h"
#include "formats/settings_records.h"
#include "prefs/preferences_dialog.h"
#include "resource.h"
#include "win/app_state.h"

namespace {

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

HWND OpenShown() {
  HWND dialog = CreateDialogParamA(AppInstance, MAKEINTRESOURCEA(IDD_PREFERENCES), nullptr, PreferencesDialogProc, 0);
  ShowWindow(dialog, SW_SHOW);
  UpdateWindow(dialog);
  return dialog;
}

// Chooses a tab as a click would; its page is made the first time.
void SelectTab(HWND dialog, int index) {
  HWND tabs = GetDlgItem(dialog, IDC_PREFS_TABS);
  SendMessageA(tabs, TCM_SETCURSEL, static_cast<WPARAM>(index), 0);
  NMHDR change{tabs, IDC_PREFS_TABS, static_cast<UINT>(TCN_SELCHANGE)};
  SendMessageA(dialog, WM_NOTIFY, IDC_PREFS_TABS, reinterpret_cast<LPARAM>(&change));
  UpdateWindow(dialog);
}

HWND FindEditor(HWND dialog) {
  for (HWND page = GetWindow(dialog, GW_CHILD); page; page = GetWindow(page, GW_HWNDNEXT))
    if (HWND editor = GetDlgItem(page, IDC_FMT_EDITOR)) return editor;
  return nullptr;
}

void Key(HWND editor, UINT key, char typed) {
  SendMessageA(editor, WM_KEYDOWN, key, 1);
  SendMessageA(editor, WM_CHAR, static_cast<unsigned char>(typed), 1);
  SendMessageA(editor, WM_KEYUP, key, 0xC0000001);
}

// Types a letter at the start of a 510-character template of placeholders
// made from `letters`, and deletes it again, 100 times each. The preview
// follows once typing pauses (a timer of the page): timed on its own.
bool KeystrokeFigures(const char* letters) {
  std::string full;
  while (full.size() + 2 <= 510) full += std::string{'%', letters[full.size() / 2 % 6]};
  std::memset(GeneralPrefs.statsTemplate, 0, sizeof GeneralPrefs.statsTemplate);
  std::memcpy(GeneralPrefs.statsTemplate, full.data(), full.size());
  HWND dialog = OpenShown();
  SelectTab(dialog, 1);
  HWND editor = FindEditor(dialog);
  if (!editor) {
    std::printf("the statistics format page has no editor\n");
    return false;
  }
  HWND page = GetParent(editor);
  std::vector<double> keys, previews;
  for (int run = 0; run < Runs(100); ++run) {
    CHARRANGE start{0, 0};
    SendMessageA(editor, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&start));
    for (auto [key, typed] : {std::pair<UINT, char>{'X', 'x'}, {VK_BACK, '\b'}}) {
      double t = NowMs();
      Key(editor, key, typed);
      keys.push_back(NowMs() - t);
      t = NowMs();
      SendMessageA(page, WM_TIMER, 1, 0);
      previews.push_back(NowMs() - t);
    }
  }
  std::printf("keystroke with its re-highlighting: median %.2f ms, worst %.2f ms (target < 5 ms); "
              "preview once typing pauses: median %.2f ms\n",
              Median(keys), *std::max_element(keys.begin(), keys.end()), Median(previews));
  DestroyWindow(dialog);
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  ReadBenchArguments(argc, argv);
  InitialiseProcessValues(GetModuleHandleA(nullptr));
  AppColors = DefaultAppColors();
  GeneralPrefs = DefaultGeneralPrefs();

  std::vector<double> opens, formats;
  for (int run = 0; run < Runs(21); ++run) {
    double start = NowMs();
    HWND dialog = OpenShown();
    opens.push_back(NowMs() - start);
    if (!dialog) {
      std::printf("the preferences dialog was not made\n");
      return 1;
    }
    start = NowMs();
    SelectTab(dialog, 1);
    formats.push_back(NowMs() - start);
    DestroyWindow(dialog);
    Pump();
  }
  std::printf("preferences opened to first paint: first %.1f ms, median of %zu %.1f ms (target < 50 ms)\n",
              opens.front(), opens.size(), Median(opens));
  std::printf("statistics format page first shown: first %.1f ms (RichEd20 loaded then), median %.1f ms\n",
              formats.front(), Median(formats));

  // 255 placeholders, 510 characters (one more fits): the six real ones, whose
  // long preview costs as much again, and lower-case ones that expand to
  // nothing, which leave the editor's own work and the highlighting.
  for (const char* letters : {"QDCMLX", "qdcmlx"}) {
    std::printf("one keystroke in a full template of %s placeholders: ", letters[0] == 'Q' ? "real" : "empty");
    if (!KeystrokeFigures(letters)) return 1;
  }
  return 0;
}
