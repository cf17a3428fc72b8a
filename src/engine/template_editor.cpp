#include "engine/template_editor.h"

#include <algorithm>

namespace {

int Length(std::string_view text) { return static_cast<int>(text.size()); }

int Clamp(std::string_view text, int position) { return std::clamp(position, 0, Length(text)); }

// The placeholder with start < position < end, if any.
std::optional<TextRange> PlaceholderAround(std::string_view text, int position) {
  for (const TextRange& r : PlaceholderRanges(text)) {
    if (r.start >= position) break;
    if (position < r.end) return r;
  }
  return std::nullopt;
}

}  // namespace

std::string ToEditorForm(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\n') {
      out.push_back('\r');
    } else {
      out.push_back(text[i]);
      if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    }
  }
  return out;
}

std::string ToStoredForm(std::string_view editorText) {
  std::string out;
  out.reserve(StoredLength(editorText));
  for (char c : editorText) {
    out.push_back(c);
    if (c == '\r') out.push_back('\n');
  }
  return out;
}

std::size_t StoredLength(std::string_view editorText) {
  return editorText.size() + static_cast<std::size_t>(std::count(editorText.begin(), editorText.end(), '\r'));
}

std::vector<TextRange> PlaceholderRanges(std::string_view editorText) {
  std::vector<TextRange> ranges;
  const int length = Length(editorText);
  for (int i = 0; i < length; ++i) {
    if (editorText[static_cast<std::size_t>(i)] != '%') continue;
    ranges.push_back({i, std::min(i + 2, length)});
    ++i;
  }
  return ranges;
}

namespace {
std::vector<bool> PlaceholderMarks(std::string_view text) {
  std::vector<bool> marks(text.size(), false);
  for (const TextRange& r : PlaceholderRanges(text))
    for (int i = r.start; i < r.end; ++i) marks[static_cast<std::size_t>(i)] = true;
  return marks;
}
}  // namespace

std::vector<FormatRun> RunsToRefresh(std::string_view before, std::string_view after, int caret) {
  // The unchanged tail is matched first and never reaches before the caret, so
  // that a repeated stretch is not taken for the text it repeats.
  const std::size_t untouched = after.size() - static_cast<std::size_t>(Clamp(after, caret));
  std::size_t suffix = 0;
  while (suffix < std::min(before.size(), untouched) &&
         before[before.size() - 1 - suffix] == after[after.size() - 1 - suffix])
    ++suffix;
  const std::size_t limit = std::min(before.size(), after.size()) - suffix;
  std::size_t prefix = 0;
  while (prefix < limit && before[prefix] == after[prefix]) ++prefix;

  const std::vector<bool> was = PlaceholderMarks(before), is = PlaceholderMarks(after);
  const std::size_t changedEnd = after.size() - suffix;
  std::vector<FormatRun> runs;
  for (std::size_t i = 0; i < after.size(); ++i) {
    const bool stale = i < prefix ? was[i] != is[i]
                       : i >= changedEnd ? was[i - after.size() + before.size()] != is[i]
                                         : true;
    if (!stale) continue;
    const int at = static_cast<int>(i);
    if (!runs.empty() && runs.back().range.end == at && runs.back().placeholder == is[i])
      ++runs.back().range.end;
    else
      runs.push_back({{at, at + 1}, is[i]});
  }
  return runs;
}

int CaretOutsidePlaceholder(std::string_view editorText, int caret, bool movedLeft) {
  caret = Clamp(editorText, caret);
  const std::optional<TextRange> around = PlaceholderAround(editorText, caret);
  if (!around) return caret;
  return movedLeft ? around->start : around->end;
}

TextRange WidenToPlaceholders(std::string_view editorText, TextRange selection) {
  int start = Clamp(editorText, std::min(selection.start, selection.end));
  int end = Clamp(editorText, std::max(selection.start, selection.end));
  if (const auto r = PlaceholderAround(editorText, start)) start = r->start;
  if (const auto r = PlaceholderAround(editorText, end)) end = r->end;
  return {start, end};
}

std::optional<TextRange> PlaceholderForDelete(std::string_view editorText, int caret) {
  for (const TextRange& r : PlaceholderRanges(editorText)) {
    if (r.start > caret) break;
    if (r.start == caret && r.end - r.start == 2) return r;
  }
  return std::nullopt;
}

std::optional<TextRange> PlaceholderForBackspace(std::string_view editorText, int caret) {
  if (caret < 2) return std::nullopt;
  for (const TextRange& r : PlaceholderRanges(editorText)) {
    if (r.start >= caret) break;
    if (r.end == caret && r.end - r.start == 2) return r;
  }
  return std::nullopt;
}

std::string FittingInsertion(std::string_view editorText, TextRange selection, std::string_view insertion) {
  const int start = Clamp(editorText, std::min(selection.start, selection.end));
  const int end = Clamp(editorText, std::max(selection.start, selection.end));
  const std::size_t kept = StoredLength(editorText) -
                           StoredLength(editorText.substr(static_cast<std::size_t>(start),
                                                          static_cast<std::size_t>(end - start)));
  std::size_t room = kept < TemplateCapacity ? TemplateCapacity - kept : 0;
  std::size_t taken = 0;
  for (; taken < insertion.size(); ++taken) {
    const std::size_t cost = insertion[taken] == '\r' ? 2 : 1;
    if (cost > room) break;
    room -= cost;
  }
  std::string fitting(insertion.substr(0, taken));
  // A '%' whose letter was left out would pair with whatever follows it.
  if (taken < insertion.size()) {
    const std::vector<TextRange> cut = PlaceholderRanges(fitting);
    if (!cut.empty() && cut.back().end - cut.back().start == 1) fitting.pop_back();
  }
  return fitting;
}

bool IsBlankTemplate(std::string_view text) {
  return text.find_first_not_of(" \t\r\n") == std::string_view::npos;
}
