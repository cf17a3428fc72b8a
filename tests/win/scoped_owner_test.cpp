#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "win/scoped.h"

namespace {

// An owner frees the handle it holds when it is given another and when it
// goes, and a moved-from owner frees nothing. `alive` asks the system.
template <typename Owner, typename H>
void ExpectOwnership(H (*make)(), bool (*alive)(H)) {
  const H first = make(), second = make();
  ASSERT_TRUE(first && second);
  {
    Owner owner(first);
    owner.Reset(second);
    EXPECT_FALSE(alive(first));
    Owner taker(std::move(owner));
    EXPECT_FALSE(owner);
    EXPECT_TRUE(alive(second));
  }
  EXPECT_FALSE(alive(second));
}

TEST(ScopedOwners, FreeWhatTheyHoldOnce) {
  ExpectOwnership<ScopedIcon, HICON>([] { return CopyIcon(LoadIconA(nullptr, IDI_APPLICATION)); },
                         [](HICON icon) {
                           ICONINFO info{};
                           if (!GetIconInfo(icon, &info)) return false;
                           DeleteObject(info.hbmColor);
                           DeleteObject(info.hbmMask);
                           return true;
                         });
  ExpectOwnership<ScopedMenu, HMENU>([] { return CreatePopupMenu(); }, [](HMENU menu) { return IsMenu(menu) != FALSE; });
  ExpectOwnership<ScopedAtom, ATOM>(
      [] {
        static int made;
        return GlobalAddAtomA(("FumoraOwnerTest" + std::to_string(++made)).c_str());
      },
      [](ATOM atom) {
        char name[32];
        return GlobalGetAtomNameA(atom, name, sizeof name) > 0;
      });
  ExpectOwnership<ScopedKernelHandle, HANDLE>([] { return CreateMutexA(nullptr, FALSE, nullptr); },
                          [](HANDLE handle) {
                            DWORD flags = 0;
                            return GetHandleInformation(handle, &flags) != FALSE;
                          });
}

}  // namespace
