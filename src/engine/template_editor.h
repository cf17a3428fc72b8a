// The stats template editor's rules, worked out on the editor's own character
// positions: a line break is one position ("\r") in the rich edit and two
// ("\r\n") in the stored template. A placeholder is a '%' and the character
// after it, paired from the left exactly as ExpandTemplate pairs them, so
// what is shown as one unit is what expands as one.
#pragma once
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Characters of the stored template (the GenPrefs field holds 512 with its
// terminator); the editor accepts exactly as many.
inline constexpr std::size_t TemplateCapacity = 511;

// Editor positions, [start, end).
struct TextRange {
  int start = 0;
  int end = 0;
  bool operator==(const TextRange&) const = default;
};

// Every "\r\n", lone "\r" and lone "\n" as one "\r".
std::string ToEditorForm(std::string_view text);
// Every "\r" as "\r\n": the text as it is stored and expanded.
std::string ToStoredForm(std::string_view editorText);
std::size_t StoredLength(std::string_view editorText);

// The placeholders of the text, left to right. A '%' that ends the text is a
// range of one.
std::vector<TextRange> PlaceholderRanges(std::string_view editorText);

// A stretch of the editor's text shown in one format.
struct FormatRun {
  TextRange range;
  bool placeholder = false;
  bool operator==(const FormatRun&) const = default;
};

// After an edit took the editor's text from `before` to `after`, leaving the
// caret at `caret` (text after the caret is what the edit left untouched):
// the runs of `after` whose format may no longer be right, in order. They are
// the changed stretch and every position whose placeholder state moved.
// With `before` empty, every run of `after`.
std::vector<FormatRun> RunsToRefresh(std::string_view before, std::string_view after, int caret);

// Where the caret goes when it has landed at `caret`: never between a '%' and
// its letter. Moving left it goes before the '%', otherwise after the letter.
int CaretOutsidePlaceholder(std::string_view editorText, int caret, bool movedLeft);

// The selection grown so that it cuts no placeholder in two.
TextRange WidenToPlaceholders(std::string_view editorText, TextRange selection);

// The placeholder that Delete (just after the caret) or Backspace (just before
// it) removes whole when the selection is empty; none when the key acts as usual.
std::optional<TextRange> PlaceholderForDelete(std::string_view editorText, int caret);
std::optional<TextRange> PlaceholderForBackspace(std::string_view editorText, int caret);

// Placeholders come only from the editor's buttons: a typed '%' is discarded.
// Tab moves the focus on and never types.
inline bool AcceptsTypedCharacter(char c) { return c != '%' && c != '\t'; }

// Nothing but blanks, tabs and line breaks: to the user, no template at all.
bool IsBlankTemplate(std::string_view text);

// The longest beginning of `insertion` (editor form) that, replacing
// `selection`, keeps the stored template within TemplateCapacity. It never
// ends with the '%' of a placeholder whose letter does not fit.
std::string FittingInsertion(std::string_view editorText, TextRange selection, std::string_view insertion);
