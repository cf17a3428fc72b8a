// The statistics format page: the template editor (a rich edit in which every
// placeholder is bold red and behaves as one unit), the six placeholder
// buttons, the two span flags and the live preview. The editor's rules work
// on its own character positions (engine/template_editor.h).
#include <windows.h>
#include <richedit.h>
#include <windowsx.h>

#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "engine/stats_text.h"
#include "engine/template_editor.h"
#include "prefs/pages.h"
#include "resource.h"
#include "util/text.h"
#include "win/app_state.h"
#include "win/dialog_state.h"
#include "win/rich_edit.h"
#include "win/subclass.h"

namespace {

constexpr COLORREF PlaceholderRed = RGB(255, 0, 0);
constexpr int PlaceholderButtons[] = {IDC_FMT_QUIT_LENGTH, IDC_FMT_QUIT_DAYS, IDC_FMT_CIGARETTES,
                                      IDC_FMT_MONEY,       IDC_FMT_LIFE,      IDC_FMT_QUIT_DATE};
static_assert(std::size(PlaceholderButtons) + 1 == sizeof(PlaceholderLetters));

// Lives from WM_INITDIALOG to WM_NCDESTROY (after the editor is gone).
struct FormatState {
  HWND editor = nullptr;
  HWND preview = nullptr;
  StatsSnapshot snapshot{};  // taken at opening; its two flags are the page's working flags
  std::string text;  // the editor's text as last seen, to tell text changes from format changes
  int previousCaret = 0;
  bool busy = false;  // the page moves the selection itself: the caret rule stands aside
  bool loading = false;  // the page puts text in: no change for Apply
  bool clicking = false;  // a left click is placing the caret
  // Enter is checked on its key press (some rich edits break the line there,
  // others on the character that follows); the character then goes by.
  enum class Enter { None, Fits, Refused } enter = Enter::None;
};

FormatState* StateOf(HWND page) { return DialogStateOf<FormatState>(page); }

// ---- the editor, in its own positions ----

std::string EditorText(HWND editor) {
  GETTEXTLENGTHEX length{GTL_PRECISE | GTL_NUMBYTES, CP_ACP};
  const LRESULT bytes = SendMessageA(editor, EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&length), 0);
  if (bytes <= 0) return {};
  // Room for line breaks given as two characters after all.
  std::string text(static_cast<std::size_t>(bytes) * 2 + 2, '\0');
  GETTEXTEX get{static_cast<DWORD>(text.size()), GT_DEFAULT, CP_ACP, nullptr, nullptr};
  const LRESULT got = SendMessageA(editor, EM_GETTEXTEX, reinterpret_cast<WPARAM>(&get),
                                   reinterpret_cast<LPARAM>(text.data()));
  text.resize(TextLength(std::string_view(text.data(), got > 0 ? static_cast<std::size_t>(got) : 0)));
  return ToEditorForm(text);
}

TextRange Selection(HWND editor) {
  CHARRANGE range{};
  SendMessageA(editor, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&range));
  return {static_cast<int>(range.cpMin), static_cast<int>(range.cpMax)};
}

void Select(FormatState& s, TextRange range) {
  const bool wasBusy = std::exchange(s.busy, true);
  CHARRANGE r{range.start, range.end};
  SendMessageA(s.editor, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&r));
  s.busy = wasBusy;
}

CHARFORMATA FormatFor(bool placeholder) {
  CHARFORMATA f{};
  f.cbSize = sizeof f;
  f.dwMask = CFM_BOLD | CFM_COLOR;
  f.dwEffects = placeholder ? CFE_BOLD : CFE_AUTOCOLOR;
  f.crTextColor = placeholder ? PlaceholderRed : 0;
  return f;
}

void FormatSelection(HWND editor, bool placeholder) {
  CHARFORMATA f = FormatFor(placeholder);
  SendMessageA(editor, EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&f));
}

bool SelectionHasFormat(HWND editor, bool placeholder) {
  CHARFORMATA f{};
  f.cbSize = sizeof f;
  SendMessageA(editor, EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&f));
  if ((f.dwMask & (CFM_BOLD | CFM_COLOR)) != (CFM_BOLD | CFM_COLOR)) return false;  // mixed
  const bool bold = (f.dwEffects & CFE_BOLD) != 0;
  const bool automatic = (f.dwEffects & CFE_AUTOCOLOR) != 0;
  if (!placeholder) return !bold && automatic;
  return bold && !automatic && (f.crTextColor & 0xFFFFFF) == PlaceholderRed;
}

// Gives the runs their formats: placeholders bold red, all else plain. A run
// already right is left alone, so typing adds no format steps to the undo.
void HighlightPlaceholders(FormatState& s, const std::vector<FormatRun>& runs) {
  if (runs.empty()) return;
  const TextRange kept = Selection(s.editor);
  const LRESULT events = SendMessageA(s.editor, EM_SETEVENTMASK, 0, 0);
  SendMessageA(s.editor, WM_SETREDRAW, FALSE, 0);
  for (const FormatRun& run : runs) {
    Select(s, run.range);
    if (!SelectionHasFormat(s.editor, run.placeholder)) FormatSelection(s.editor, run.placeholder);
  }
  Select(s, kept);
  SendMessageA(s.editor, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(s.editor, nullptr, TRUE);
  SendMessageA(s.editor, EM_SETEVENTMASK, 0, events);
}

// Every run of the text, as after loading it or an undo (which may bring
// back formats without changing the text).
void HighlightAll(FormatState& s) { HighlightPlaceholders(s, RunsToRefresh({}, s.text, 0)); }

// The template as stored: line breaks as "\r\n", never more than it holds.
std::string StoredTemplate(std::string_view editorText) { return ToStoredForm(FittingInsertion({}, {}, editorText)); }

void ShowPreview(FormatState& s) {
  SetWindowTextA(s.preview, ExpandTemplate(StoredTemplate(s.text), s.snapshot).c_str());
}

// Typing refreshes the preview once it pauses: a full template's preview
// costs as much as the keystroke itself, and a burst of auto-repeat needs
// only the last one. The timer message waits behind every queued key.
constexpr UINT_PTR PreviewTimer = 1;
constexpr UINT PreviewDelayMs = 30;

void SchedulePreview(HWND page) { SetTimer(page, PreviewTimer, PreviewDelayMs, nullptr); }

void LoadTemplate(FormatState& s, std::string_view stored) {
  s.loading = true;
  const std::string text = FittingInsertion({}, {}, ToEditorForm(stored.substr(0, TextLength(stored))));
  SetWindowTextA(s.editor, text.c_str());
  s.text = EditorText(s.editor);
  HighlightAll(s);
  SendMessageA(s.editor, EM_EMPTYUNDOBUFFER, 0, 0);
  Select(s, {0, 0});
  FormatSelection(s.editor, false);
  s.previousCaret = 0;
  ShowPreview(s);
  s.loading = false;
}

// A selection that cuts a placeholder in two is grown to whole placeholders.
void WidenSelection(FormatState& s) {
  const TextRange selection = Selection(s.editor);
  if (selection.start == selection.end) return;
  const TextRange widened = WidenToPlaceholders(EditorText(s.editor), selection);
  if (!(widened == selection)) Select(s, widened);
}

// Replaces the selection with `insertion` (editor form) as one undoable step,
// in the given format; false (and a beep) when it does not fit whole.
bool ReplaceSelection(FormatState& s, const std::string& insertion, bool placeholder) {
  WidenSelection(s);
  const std::string fitting = FittingInsertion(EditorText(s.editor), Selection(s.editor), insertion);
  if (fitting.size() != insertion.size()) MessageBeep(MB_OK);
  if (fitting.empty() || (placeholder && fitting != insertion)) return false;
  FormatSelection(s.editor, placeholder);
  SendMessageA(s.editor, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(fitting.c_str()));
  return true;
}

// The button's placeholder in place of the selection; typing goes on in plain text.
void InsertPlaceholder(FormatState& s, int index) {
  const std::string placeholder{'%', PlaceholderLetters[index]};
  s.busy = true;
  ReplaceSelection(s, placeholder, true);
  SetFocus(s.editor);
  s.busy = false;
  // The caret rule stood aside: it learns where the caret now is, so that
  // the next Left arrow counts as a move left.
  s.previousCaret = Selection(s.editor).end;
  FormatSelection(s.editor, false);
}

// Clipboard text goes in as plain text, as much as fits.
void PastePlainText(FormatState& s) {
  std::string clip;
  if (!OpenClipboard(s.editor)) return;
  if (HANDLE data = GetClipboardData(CF_TEXT)) {
    if (const auto* text = static_cast<const char*>(GlobalLock(data))) {
      clip.assign(text, TextLength(std::string_view(text, GlobalSize(data))));
      GlobalUnlock(data);
    }
  }
  CloseClipboard();
  if (!clip.empty()) ReplaceSelection(s, ToEditorForm(clip), false);
}

// ---- the editor's own messages, wrapped ----

// Makes room for `typed` at the selection: false (and a beep) when it does
// not fit. Text typed next to a placeholder is never bold red.
bool PrepareTyping(FormatState& s, char typed) {
  WidenSelection(s);
  if (FittingInsertion(EditorText(s.editor), Selection(s.editor), std::string(1, typed)).empty()) {
    MessageBeep(MB_OK);
    return false;
  }
  FormatSelection(s.editor, false);
  return true;
}

LRESULT OnEditorChar(FormatState& s, HWND editor, WPARAM wParam, LPARAM lParam) {
  const char typed = static_cast<char>(TypedAnsiCharacter(editor, wParam));
  if (typed == '\0' && wParam != 0) {  // the code page lacks it: the template could only hold a '?'
    MessageBeep(MB_OK);
    return 0;
  }
  if (!AcceptsTypedCharacter(typed)) return 0;
  if (typed == '\r' && s.enter != FormatState::Enter::None) {
    const bool refused = s.enter == FormatState::Enter::Refused;
    s.enter = FormatState::Enter::None;
    if (refused) return 0;
  } else if ((static_cast<unsigned char>(typed) >= ' ' || typed == '\r') &&
             !PrepareTyping(s, typed)) {
    return 0;
  }
  return DefSubclassProc(editor, WM_CHAR, wParam, lParam);
}

bool IsPasteKey(WPARAM key) {
  const bool ctrl = GetKeyState(VK_CONTROL) < 0, shift = GetKeyState(VK_SHIFT) < 0;
  return (ctrl && !shift && key == 'V') || (shift && !ctrl && key == VK_INSERT);
}

bool IsUndoKey(WPARAM key) {
  const bool ctrl = GetKeyState(VK_CONTROL) < 0, alt = GetKeyState(VK_MENU) < 0;
  return (ctrl && (key == 'Z' || key == 'Y')) || (alt && key == VK_BACK);
}

// Undo and redo may bring back formats without changing the text.
LRESULT UndoOrRedo(FormatState& s, HWND editor, UINT message, WPARAM wParam, LPARAM lParam) {
  const LRESULT result = DefSubclassProc(editor, message, wParam, lParam);
  s.text = EditorText(editor);
  HighlightAll(s);
  return result;
}

LRESULT OnEditorKeyDown(FormatState& s, HWND editor, WPARAM key, LPARAM lParam) {
  if (IsPasteKey(key)) {
    PastePlainText(s);
    return 0;
  }
  if (IsUndoKey(key)) return UndoOrRedo(s, editor, WM_KEYDOWN, key, lParam);
  if (key == VK_RETURN) {
    s.enter = PrepareTyping(s, '\r') ? FormatState::Enter::Fits : FormatState::Enter::Refused;
    if (s.enter == FormatState::Enter::Refused) return 0;
  }
  if (key == VK_DELETE || key == VK_BACK) {
    const TextRange selection = Selection(editor);
    if (selection.start != selection.end) {
      WidenSelection(s);
    } else {
      const std::string text = EditorText(editor);
      const auto whole = key == VK_DELETE ? PlaceholderForDelete(text, selection.start)
                                          : PlaceholderForBackspace(text, selection.start);
      if (whole) Select(s, *whole);
    }
  }
  return DefSubclassProc(editor, WM_KEYDOWN, key, lParam);
}

// Tab and Shift+Tab belong to the dialog: they move the focus on, and no
// Tab ever enters the template (tabbing in selects the whole text, which a
// Tab taken as typing would replace).
LRESULT OnEditorDlgCode(HWND editor, WPARAM wParam, LPARAM lParam) {
  LRESULT code = DefSubclassProc(editor, WM_GETDLGCODE, wParam, lParam);
  code &= ~static_cast<LRESULT>(DLGC_WANTTAB);
  const MSG* message = reinterpret_cast<const MSG*>(lParam);
  if (message && message->wParam == VK_TAB && (message->message == WM_KEYDOWN || message->message == WM_CHAR))
    code &= ~static_cast<LRESULT>(DLGC_WANTALLKEYS | DLGC_WANTMESSAGE);
  return code;
}

// The editor's behaviour, with the page's state; everything else goes on to
// the rich edit's own procedure.
LRESULT EditorProc(HWND editor, UINT message, WPARAM wParam, LPARAM lParam) {
  FormatState* state = StateOf(GetParent(editor));
  if (!state) return DefSubclassProc(editor, message, wParam, lParam);
  FormatState& s = *state;
  switch (message) {
    case WM_GETDLGCODE:
      return OnEditorDlgCode(editor, wParam, lParam);
    case WM_CHAR:
      return OnEditorChar(s, editor, wParam, lParam);
    case WM_KEYDOWN:
      return OnEditorKeyDown(s, editor, wParam, lParam);
    case WM_PASTE:
      PastePlainText(s);
      return 0;
    case WM_UNDO:
    case EM_UNDO:
    case EM_REDO:
      return UndoOrRedo(s, editor, message, wParam, lParam);
    case WM_LBUTTONDOWN: {
      s.clicking = true;
      const LRESULT result = DefSubclassProc(editor, message, wParam, lParam);
      s.clicking = false;
      return result;
    }
    case WM_LBUTTONUP: {
      const LRESULT result = DefSubclassProc(editor, message, wParam, lParam);
      WidenSelection(s);
      return result;
    }
    case WM_KEYUP: {
      const LRESULT result = DefSubclassProc(editor, message, wParam, lParam);
      if (wParam == VK_SHIFT) WidenSelection(s);
      return result;
    }
  }
  return DefSubclassProc(editor, message, wParam, lParam);
}

// ---- the page ----

BOOL OnInitDialog(HWND page, HWND, LPARAM) {
  FormatState* s = &AttachDialogState<FormatState>(page);
  s->editor = GetDlgItem(page, IDC_FMT_EDITOR);
  s->preview = GetDlgItem(page, IDC_FMT_PREVIEW);
  s->snapshot = TakeStatsSnapshot();
  CheckDlgButton(page, IDC_FMT_SECONDS, s->snapshot.includeSeconds == 1 ? BST_CHECKED : BST_UNCHECKED);
  CheckDlgButton(page, IDC_FMT_FULL_DATES, s->snapshot.fullDates == 1 ? BST_CHECKED : BST_UNCHECKED);
  SendMessageA(s->editor, EM_EXLIMITTEXT, 0, static_cast<LPARAM>(TemplateCapacity));
  SubclassControl<EditorProc>(s->editor);
  LoadTemplate(*s, std::string_view(GeneralPrefs.statsTemplate, sizeof GeneralPrefs.statsTemplate));
  SendMessageA(s->editor, EM_SETEVENTMASK, 0, ENM_CHANGE | ENM_SELCHANGE);
  return FALSE;
}

void OnEditorChanged(HWND page, FormatState& s) {
  std::string text = EditorText(s.editor);
  if (text == s.text) return;  // a format change only
  const std::vector<FormatRun> runs = RunsToRefresh(s.text, text, Selection(s.editor).end);
  s.text = std::move(text);
  HighlightPlaceholders(s, runs);
  if (s.loading) return;  // the loader shows the preview itself
  SchedulePreview(page);
  MarkPreferencesChanged(page);
}

void OnFlagClicked(HWND page, FormatState& s, int id) {
  const uint32_t checked = IsDlgButtonChecked(page, id) == BST_CHECKED ? 1 : 0;
  (id == IDC_FMT_SECONDS ? s.snapshot.includeSeconds : s.snapshot.fullDates) = checked;
  ShowPreview(s);
  MarkPreferencesChanged(page);
}

void OnCommand(HWND page, int id, HWND, UINT code) {
  FormatState* s = StateOf(page);
  if (!s) return;
  if (id == IDC_FMT_EDITOR && code == EN_CHANGE) return OnEditorChanged(page, *s);
  if (code != BN_CLICKED) return;
  if (id == IDC_FMT_SECONDS || id == IDC_FMT_FULL_DATES) return OnFlagClicked(page, *s, id);
  for (int index = 0; index < static_cast<int>(std::size(PlaceholderButtons)); ++index)
    if (PlaceholderButtons[index] == id) InsertPlaceholder(*s, index);
}

// The caret never rests between a '%' and its letter.
void OnSelectionChanged(FormatState& s, const SELCHANGE& change) {
  if (s.busy) return;
  int caret = static_cast<int>(change.chrg.cpMin);
  if (change.chrg.cpMin == change.chrg.cpMax) {
    const bool movedLeft = !s.clicking && caret < s.previousCaret;
    const int outside = CaretOutsidePlaceholder(EditorText(s.editor), caret, movedLeft);
    if (outside != caret) Select(s, {outside, outside});
    caret = outside;
  }
  s.previousCaret = caret;
}

void OnTimer(HWND page, UINT id) {
  if (id != PreviewTimer) return;
  KillTimer(page, PreviewTimer);
  if (FormatState* s = StateOf(page)) ShowPreview(*s);
}

LRESULT OnNotify(HWND page, int, const NMHDR* header) {
  FormatState* s = StateOf(page);
  if (s && header->idFrom == IDC_FMT_EDITOR && header->code == EN_SELCHANGE)
    OnSelectionChanged(*s, *reinterpret_cast<const SELCHANGE*>(header));
  return 0;
}

void OnNcDestroy(HWND page) { DeleteDialogState<FormatState>(page); }

INT_PTR CALLBACK FormatPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      return HANDLE_WM_INITDIALOG(page, wParam, lParam, OnInitDialog);
    case WM_COMMAND:
      HANDLE_WM_COMMAND(page, wParam, lParam, OnCommand);
      return TRUE;
    case WM_NOTIFY:
      return SetDlgMsgResult(page, message, HANDLE_WM_NOTIFY(page, wParam, lParam, OnNotify));
    case WM_TIMER:
      HANDLE_WM_TIMER(page, wParam, lParam, OnTimer);
      return TRUE;
    case WM_NCDESTROY:
      HANDLE_WM_NCDESTROY(page, wParam, lParam, OnNcDestroy);
      return FALSE;
  }
  return FALSE;
}

}  // namespace

HWND CreateFormatPage(HWND dialog) {
  if (!LoadRichEdit()) return nullptr;
  return CreateDialogParamA(AppInstance, MAKEINTRESOURCEA(IDD_PREFS_FORMAT), dialog, FormatPageProc, 0);
}

FormatChoices ReadFormatPage(HWND page) {
  FormatChoices c;
  const FormatState* s = StateOf(page);
  if (!s) return c;
  c.statsTemplate = StoredTemplate(EditorText(s->editor));
  c.includeSeconds = s->snapshot.includeSeconds;
  c.fullDates = s->snapshot.fullDates;
  return c;
}

void ShowTemplate(HWND page, const char* text) {
  if (FormatState* s = StateOf(page)) LoadTemplate(*s, text);
}
