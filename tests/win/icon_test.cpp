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

}  // namespace
