// The template editor's rules on editor positions, and the general page's
// value <-> item mappings.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "engine/general_options.h"
#include "engine/template_editor.h"

namespace {

using Range = std::optional<TextRange>;

TEST(TemplateEditor, LineBreaksAreOnePositionInTheEditorAndTwoWhenStored) {
  struct Case { std::string any, editor, stored; };
  for (const Case& c : {Case{"a\r\nb", "a\rb", "a\r\nb"}, Case{"a\nb\rc", "a\rb\rc", "a\r\nb\r\nc"},
                        Case{"\r\n\r\n%Q", "\r\r%Q", "\r\n\r\n%Q"}, Case{"plain", "plain", "plain"}}) {
    EXPECT_EQ(ToEditorForm(c.any), c.editor) << c.any;
    EXPECT_EQ(ToStoredForm(c.editor), c.stored) << c.any;
    EXPECT_EQ(StoredLength(c.editor), c.stored.size()) << c.any;
  }
}

TEST(TemplateEditor, PlaceholdersPairFromTheLeftAsTheExpansionDoes) {
  using Ranges = std::vector<TextRange>;
  EXPECT_EQ(PlaceholderRanges("x%Qy"), (Ranges{{1, 3}}));
  EXPECT_EQ(PlaceholderRanges("%%Q"), (Ranges{{0, 2}}));
  EXPECT_EQ(PlaceholderRanges("a%"), (Ranges{{1, 2}}));
  EXPECT_EQ(PlaceholderRanges("%Q\r\r%D."), (Ranges{{0, 2}, {4, 6}}));
  EXPECT_EQ(PlaceholderRanges("none"), Ranges{});
}

TEST(TemplateEditor, OnlyRunsTouchedByAnEditAreFormattedAgain) {
  using Runs = std::vector<FormatRun>;
  struct Case { const char* before; const char* after; int caret; Runs runs; };
  for (const Case& c : {
           Case{"", "ab%Qc", 5, {{{0, 2}, false}, {{2, 4}, true}, {{4, 5}, false}}},
           Case{"ab%Qc", "ab%Qcx", 6, {{{5, 6}, false}}},
           Case{"ab%Qc", "xab%Qc", 1, {{{0, 1}, false}}},
           Case{"ab%Qc", "ab%Qc", 0, {}},
           Case{"ab%Qc", "abc", 2, {}},
           // A placeholder put in front of its double: the new one is at the caret.
           Case{"%Q%Q", "%Q%Q%Q", 2, {{{0, 2}, true}}},
           // A pasted '%' pairs what follows it anew: "%%" is a placeholder, Q is not.
           Case{"a%Qb%Dc", "a%%Qb%Dc", 2, {{{1, 2}, true}, {{3, 4}, false}}},
       }) {
    EXPECT_EQ(RunsToRefresh(c.before, c.after, c.caret), c.runs) << c.before << " -> " << c.after;
  }
}

TEST(TemplateEditor, CaretNeverRestsBetweenPercentAndLetter) {
  struct Case { const char* text; int caret; bool left; int expected; };
  for (const Case& c : {Case{"x%Qy", 2, true, 1}, Case{"x%Qy", 2, false, 3}, Case{"x%Qy", 1, true, 1},
                        Case{"x%Qy", 3, true, 3}, Case{"x%Qy", 0, false, 0}, Case{"x%Qy", 4, false, 4},
                        Case{"%Q", 1, true, 0}, Case{"%%Q", 2, false, 2},
                        // after a line break: one position each
                        Case{"ab\r%Qc", 4, true, 3}, Case{"ab\r%Qc", 4, false, 5}, Case{"ab\r%Qc", 3, false, 3},
                        // positions outside the text
                        Case{"x%Qy", -5, true, 0}, Case{"x%Qy", 99, false, 4}, Case{"", 0, true, 0}}) {
    EXPECT_EQ(CaretOutsidePlaceholder(c.text, c.caret, c.left), c.expected) << c.text << " at " << c.caret;
  }
}

TEST(TemplateEditor, SelectionsWidenToWholePlaceholders) {
  struct Case { const char* text; TextRange selection, expected; };
  for (const Case& c : {Case{"x%Qy", {0, 2}, {0, 3}}, Case{"x%Qy", {2, 4}, {1, 4}}, Case{"x%Qy", {2, 2}, {1, 3}},
                        Case{"x%Qy", {0, 4}, {0, 4}}, Case{"x%Qy", {3, 0}, {0, 3}},
                        Case{"a\r%Q%Db", {3, 5}, {2, 6}}, Case{"a\r%Qb", {0, 3}, {0, 4}}}) {
    EXPECT_EQ(WidenToPlaceholders(c.text, c.selection), c.expected) << c.text;
  }
}

TEST(TemplateEditor, DeleteAndBackspaceRemoveWholePlaceholders) {
  struct Case { const char* text; int caret; Range del, back; };
  for (const Case& c : {Case{"x%Qy", 1, TextRange{1, 3}, {}}, Case{"x%Qy", 3, {}, TextRange{1, 3}},
                        Case{"x%Qy", 2, {}, {}}, Case{"x%Qy", 0, {}, {}}, Case{"%Qy", 1, {}, {}},
                        Case{"%Q", 0, TextRange{0, 2}, {}}, Case{"%Q", 2, {}, TextRange{0, 2}},
                        Case{"%%Q", 3, {}, {}}, Case{"%%Q", 2, {}, TextRange{0, 2}},
                        Case{"a\r%Q", 4, {}, TextRange{2, 4}}, Case{"%Q\rb", 3, {}, {}}, Case{"ab%", 2, {}, {}}}) {
    EXPECT_EQ(PlaceholderForDelete(c.text, c.caret), c.del) << c.text << " at " << c.caret;
    EXPECT_EQ(PlaceholderForBackspace(c.text, c.caret), c.back) << c.text << " at " << c.caret;
  }
  EXPECT_FALSE(AcceptsTypedCharacter('%'));
  EXPECT_TRUE(AcceptsTypedCharacter('a'));
  EXPECT_FALSE(AcceptsTypedCharacter('\t'));
  for (auto [text, blank] : {std::pair<const char*, bool>{"", true}, {" \t\r\n ", true}, {"\t", true},
                             {" x ", false}, {"%Q", false}})
    EXPECT_EQ(IsBlankTemplate(text), blank) << '"' << text << '"';
}

TEST(TemplateEditor, InsertionsFitTheStoredCapacity) {
  const std::string nearlyFull(509, 'a');
  struct Case { std::string text; TextRange selection; std::string insertion, expected; };
  for (const Case& c : {Case{nearlyFull, {509, 509}, "%Q", "%Q"}, Case{nearlyFull + "a", {510, 510}, "%Q", ""},
                        Case{nearlyFull + "a", {0, 1}, "%Q", "%Q"}, Case{nearlyFull, {0, 0}, "xyz", "xy"},
                        Case{nearlyFull + "a", {0, 0}, "\r", ""}, Case{nearlyFull, {0, 0}, "\rx", "\r"},
                        Case{nearlyFull + "\r", {0, 0}, "x", ""}, Case{"", {0, 0}, "ab%", "ab%"}}) {
    EXPECT_EQ(FittingInsertion(c.text, c.selection, c.insertion), c.expected) << c.insertion;
  }
}

TEST(GeneralOptions, StoredValuesShowTheirItemsAndDamagedOnesTheDefault) {
  // `shown`: the value the item shown stands for, stored again by an apply.
  struct Case { const OptionList& list; uint32_t value; int item; uint32_t shown; };
  for (const Case& c : {Case{LifeMinutesOptions, 5, 0, 5}, Case{LifeMinutesOptions, 20, 15, 20},
                        Case{LifeMinutesOptions, 4, 0, 5}, Case{LifeMinutesOptions, 21, 0, 5},
                        Case{LookAheadOptions, 2, 0, 2}, Case{LookAheadOptions, 100, 98, 100},
                        Case{LookAheadOptions, 0, 18, 20}, Case{LookAheadOptions, 101, 18, 20},
                        Case{LookAheadOptions, 0xFFFFFFFF, 18, 20}, Case{StartupViewOptions, 3, 3, 3},
                        Case{StartupViewOptions, 4, 0, 0}}) {
    EXPECT_EQ(ItemForValue(c.list, c.value), c.item) << c.value;
    EXPECT_EQ(ValueForItem(c.list, c.item), c.shown) << c.value;
  }
  EXPECT_EQ(ValueForItem(LookAheadOptions, -1), std::nullopt);
  EXPECT_EQ(ValueForItem(LookAheadOptions, 99), std::nullopt);
  EXPECT_EQ(OptionItemText(LifeMinutesOptions, 0), "5 mins");
  EXPECT_EQ(OptionItemText(LookAheadOptions, 98), "100 Days");
  EXPECT_EQ(OptionItemText(StartupViewOptions, 2), "Buddy List");
  EXPECT_EQ(OptionItemText(StartupViewOptions, 4), "");
}

}  // namespace
