// The program's icons where the system cannot read PNG images (XP): the
// largest DIB image that fits. The script draws DIB images at 16 and 32
// pixels for the program's icon (shared by the small one) and at 32 for the
// others.
#include <gtest/gtest.h>
#include <windows.h>

#include "layout_check.h"
#include "resource.h"
#include "win/dpi.h"

namespace {

TEST(IconWithoutPng, IsTheLargestDibImageThatFits) {
  const struct {
    int id, wanted, size;  // size 0: none
  } cases[] = {{IDI_FUMORA, 64, 32},       {IDI_FUMORA, 24, 16},       {IDI_FUMORA, 16, 16},
               {IDI_FUMORA, 15, 0},        {IDI_FUMORA_SMALL, 32, 32}, {IDI_FUMORA_SMALL, 20, 16},
               {IDI_QUIT_STATS, 48, 32},   {IDI_CLIPBOARD, 40, 32},    {IDI_BUDDIES, 24, 0}};
  for (const auto& c : cases) {
    HICON icon = LoadDibIconAtSize(GetModuleHandleA(nullptr), c.id, c.wanted);
    const SIZE size = icon ? layout_test::IconSize(icon) : SIZE{};
    EXPECT_EQ(size.cx, c.size) << c.id << " at " << c.wanted;
    EXPECT_EQ(size.cy, c.size) << c.id << " at " << c.wanted;
    if (!icon) continue;
    EXPECT_TRUE(layout_test::IsDrawnImage(icon)) << c.id << " at " << c.wanted;
    DestroyIcon(icon);
  }
}

// Every other system: the largest size the icon is drawn at that fits, so
// that nothing is stretched.
TEST(IconAtSize, IsTheLargestDrawnThatFits) {
  const struct {
    int id, wanted, size;
  } cases[] = {{IDI_QUIT_STATS, 39, 32}, {IDI_QUIT_STATS, 40, 40}, {IDI_CLIPBOARD, 60, 48}, {IDI_MILESTONES, 100, 64},
               {IDI_FUMORA, 100, 64},    {IDI_FUMORA, 63, 48}, {IDI_FUMORA_SMALL, 19, 16}, {IDI_FUMORA_SMALL, 23, 20}, {IDI_FUMORA_SMALL, 64, 32}};
  for (const auto& c : cases) {
    HICON icon = LoadIconAtSize(GetModuleHandleA(nullptr), c.id, c.wanted);
    ASSERT_NE(icon, nullptr) << c.id << " at " << c.wanted;
    EXPECT_EQ(layout_test::IconSize(icon).cx, c.size) << c.id << " at " << c.wanted;
    EXPECT_TRUE(layout_test::IsDrawnImage(icon)) << c.id << " at " << c.wanted;
    DestroyIcon(icon);
  }
}

}  // namespace
