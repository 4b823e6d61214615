// Custom menus as data: items, lookups, the item-info record, templates and
// the geometry of bars and popups.
#include "menu_model.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "menu_layout.h"

namespace {

struct Template {
  std::vector<uint8_t> bytes{0, 0, 0, 0};  // header: version and offset
  void Word(uint16_t w) {
    bytes.push_back(uint8_t(w));
    bytes.push_back(uint8_t(w >> 8));
  }
  void Text(const std::string& s) {
    for (char c : s) Word(uint8_t(c));
    Word(0);
  }
  void Item(uint16_t flags, uint16_t id, const std::string& text) {
    Word(flags);
    Word(id);
    Text(text);
  }
  void Popup(uint16_t flags, const std::string& text) {
    Word(flags | CMF_POPUP);
    Text(text);
  }
};

// &File: Open (1), separator, Recent > (Last (2), Deep > (Inner (3))), Exit (4) | &Help: About (5)
Template Sample() {
  Template t;
  t.Popup(0, "&File");
  t.Item(0, 1, "&Open\tCtrl+O");
  t.Item(0, 0, "");
  t.Popup(0, "Recent");
  t.Item(0, 2, "Last");
  t.Popup(CMF_END, "Deep");
  t.Item(CMF_END, 3, "Inner");
  t.Item(CMF_END | CMF_GRAYED, 4, "E&xit");
  t.Popup(CMF_END, "&Help");
  t.Item(CMF_END, 5, "&About");
  return t;
}

CmMenu* Parse(const Template& t) { return MenuParseTemplate(t.bytes.data(), t.bytes.size()); }

}  // namespace

TEST(MenuModel, MnemonicsAndTextLimit) {
  const struct {
    const char* text;
    int mnemonic;
  } cases[] = {{"&File", 'F'}, {"e&xit", 'X'}, {"Save && &quit", 'Q'}, {"A&&B", 0}, {"End&", 0}, {"", 0}};
  for (const auto& c : cases) EXPECT_EQ(MenuMnemonic(c.text), c.mnemonic) << c.text;

  CmMenu* m = MenuCreate();
  std::string longText(45, 'x');
  ASSERT_EQ(MenuAppend(m, 0, 7, longText.c_str()), 1);
  EXPECT_EQ(std::string(m->items[0].text), std::string(39, 'x'));
  EXPECT_EQ(MenuAppend(m, 0, 7, nullptr), 0);
  EXPECT_EQ(MenuAppend(nullptr, 0, 7, "a"), 0);
  EXPECT_EQ(m->count, 1);
  EXPECT_EQ(m->selected, -1);
  EXPECT_EQ(m->hot, -1);
  MenuDestroy(m);
}

TEST(MenuModel, TemplateTreeSeparatorsAndEnds) {
  CmMenu* m = Parse(Sample());
  ASSERT_NE(m, nullptr);
  ASSERT_EQ(m->count, 2);
  EXPECT_STREQ(m->items[0].text, "&File");
  EXPECT_EQ(m->items[0].mnemonic, 'F');
  const CmMenuItem* file = m->items[0].subItems;
  ASSERT_EQ(m->items[0].subCount, 4);
  EXPECT_TRUE(file[1].flags & CMF_SEPARATOR);
  EXPECT_FALSE(file[0].flags & CMF_SEPARATOR);
  EXPECT_EQ(file[2].subCount, 2);              // MF_END on "Deep" ends Recent after Deep's items
  EXPECT_EQ(file[2].subItems[1].subCount, 1);  // Deep holds Inner
  EXPECT_EQ(file[3].commandId, 4u);
  EXPECT_EQ(m->items[1].subCount, 1);
  MenuDestroy(m);
}

TEST(MenuModel, TruncatedOrDamagedTemplatesAreSafe) {
  Template t = Sample();
  for (size_t n = 0; n <= t.bytes.size(); ++n) {
    CmMenu* m = MenuParseTemplate(t.bytes.data(), n);
    if (n < 4) {
      EXPECT_EQ(m, nullptr);
    } else {
      ASSERT_NE(m, nullptr);
      MenuDestroy(m);
    }
  }
  Template wide;
  wide.Item(CMF_END, 9, std::string(60, 'w'));
  CmMenu* m = Parse(wide);
  EXPECT_EQ(std::strlen(m->items[0].text), 39u);
  MenuDestroy(m);
}

TEST(MenuModel, LookupByIdIsDeepByPositionTopLevel) {
  CmMenu* m = Parse(Sample());
  EXPECT_EQ(MenuCheck(m, 3, CMF_CHECKED), 0u);  // Inner, in a submenu of a submenu
  EXPECT_TRUE(m->items[0].subItems[2].subItems[1].subItems[0].flags & CMF_CHECKED);
  EXPECT_EQ(MenuCheck(m, 3, 0) & CMF_CHECKED, uint32_t(CMF_CHECKED));
  EXPECT_EQ(MenuCheck(m, 2, CMF_BYPOSITION | CMF_CHECKED), 0xFFFFFFFFu);  // only two top items
  EXPECT_NE(MenuCheck(m, 1, CMF_BYPOSITION | CMF_CHECKED), 0xFFFFFFFFu);
  EXPECT_EQ(MenuCheck(m, 99, CMF_CHECKED), 0xFFFFFFFFu);

  EXPECT_EQ(MenuEnable(m, 5, CMF_GRAYED), 0u);
  EXPECT_EQ(m->items[1].subItems[0].flags & 3, 3u);  // greyed sets both bits
  EXPECT_EQ(MenuEnable(m, 5, 0), 3u);
  EXPECT_EQ(m->items[1].subItems[0].flags & 3, 0u);

  CmMenu* sub = MenuGetSub(m, 0);
  ASSERT_NE(sub, nullptr);
  EXPECT_EQ(sub->items, m->items[0].subItems);
  EXPECT_EQ(MenuGetSub(sub, 0), nullptr);  // not a popup
  EXPECT_EQ(MenuGetSub(m, 2), nullptr);    // position == count
  MenuDestroySub(sub);
  MenuDestroy(m);
}

TEST(MenuModel, ItemInfoRecord) {
  CmMenu* m = MenuCreate();
  MenuAppend(m, 0, 10, "&One");
  MenuAppend(m, CMF_SEPARATOR, 0, "");
  char text[] = "&Two";
  CmItemInfo info{};
  info.cbSize = 40;
  info.dwTypeData = text;
  info.wID = 20;
  info.fState = 0xFF;
  EXPECT_EQ(MenuInsert(m, 0, 1, &info), 0);  // cbSize must be 44
  info.cbSize = 44;
  ASSERT_EQ(MenuInsert(m, 1, 1, &info), 1);
  EXPECT_EQ(m->items[1].commandId, 20u);
  EXPECT_EQ(m->items[1].flags, 0x0Bu);
  EXPECT_EQ(m->items[1].mnemonic, 'T');
  ASSERT_EQ(MenuInsert(m, 9, 1, &info), 1);  // beyond the count: appended
  ASSERT_EQ(MenuInsert(m, 0, 0, &info), 1);  // not by position: appended
  EXPECT_EQ(m->count, 5);
  EXPECT_EQ(m->items[0].commandId, 10u);

  CmItemInfo out{};
  out.cbSize = 44;
  out.fMask = 0x77;
  ASSERT_EQ(MenuGetInfo(m, 2, 1, &out), 1);
  EXPECT_EQ(out.fType, uint32_t(CMFT_SEPARATOR));
  EXPECT_EQ(out.fMask, 0x77u);
  ASSERT_EQ(MenuGetInfo(m, 10, 0, &out), 1);
  EXPECT_STREQ(out.dwTypeData, "&One");

  char renamed[] = "&Zed";
  CmItemInfo set{};
  set.cbSize = 44;
  set.fMask = CMIIM_TYPE | CMIIM_ID | CMIIM_STATE;
  set.dwTypeData = renamed;
  set.wID = 11;
  set.fState = CMF_CHECKED | CMF_POPUP;
  ASSERT_EQ(MenuSetInfo(m, 10, 0, &set), 1);
  EXPECT_STREQ(m->items[0].text, "&Zed");
  EXPECT_EQ(m->items[0].mnemonic, 'O');  // not worked out again
  EXPECT_EQ(m->items[0].flags, uint32_t(CMF_CHECKED));
  EXPECT_EQ(MenuSetInfo(m, 10, 0, &set), 0);  // id changed to 11
  MenuDestroy(m);
}

TEST(MenuLayout, BarRowsWrapAndHideTooWideItems) {
  CmMenu* m = MenuCreate();
  const int widths[] = {40, 50, 200, 30};
  for (int w : widths) {
    MenuAppend(m, 0, 1, "x");
    m->items[m->count - 1].rect[2] = w;
  }
  BarRowLook look{20, 4, 0, 1};
  EXPECT_EQ(LayoutBarRows(m, look, 120, 60), 2);
  EXPECT_EQ(m->items[0].rect[0], 4);
  EXPECT_EQ(m->items[1].rect[0], 45);
  EXPECT_EQ(m->items[2].rect[1], 0);  // wider than the bar: hidden
  EXPECT_EQ(m->items[2].rect[3], 0);
  EXPECT_EQ(m->items[3].rect[0], 4);  // wrapped to the second row
  EXPECT_EQ(m->items[3].rect[1], 20);
  for (int i = 0; i < 4; ++i) {
    m->items[i].rect[0] = 0;
    m->items[i].rect[2] = widths[i];
  }
  EXPECT_EQ(LayoutBarRows(m, look, 120, 30), 0);  // a second row does not fit
  MenuDestroy(m);
}

TEST(MenuLayout, PopupsFlipAtScreenEdges) {
  const int32_t anchor[4] = {100, 100, 150, 120};
  const struct {
    int w, h;
    bool sub;
    int x, y;
  } cases[] = {
      {50, 40, false, 100, 120}, {540, 40, false, -390, 120}, {50, 380, false, 100, -280},
      {50, 40, true, 150, 100},  {490, 40, true, -390, 100},  {50, 380, true, 150, -260},
  };
  for (const auto& c : cases) {
    int x, y;
    PlacePopup(anchor, c.w, c.h, c.sub, 640, 480, &x, &y);
    EXPECT_EQ(x, c.x) << c.w << "x" << c.h << (c.sub ? " sub" : "");
    EXPECT_EQ(y, c.y) << c.w << "x" << c.h << (c.sub ? " sub" : "");
  }
}

TEST(MenuLayout, SelectionStepsWrapAndSkipSeparators) {
  CmMenu* m = MenuCreate();
  MenuAppend(m, CMF_SEPARATOR, 0, "");
  MenuAppend(m, 0, 1, "a");
  MenuAppend(m, CMF_SEPARATOR, 0, "");
  MenuAppend(m, 0, 2, "b");
  EXPECT_EQ(StepSelection(m, -1, 1), 1);
  EXPECT_EQ(StepSelection(m, -1, -1), 3);
  EXPECT_EQ(StepSelection(m, 3, 1), 1);
  EXPECT_EQ(StepSelection(m, 1, -1), 3);
  CmMenu* seps = MenuCreate();
  MenuAppend(seps, CMF_SEPARATOR, 0, "");
  EXPECT_EQ(StepSelection(seps, -1, 1), -1);
  MenuDestroy(seps);
  MenuDestroy(m);
}
