// RwCDC over two recording contexts.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "rwcdc.h"

namespace {

class RecordingContext : public DeviceContext {
 public:
  RecordingContext(const char* name, std::vector<std::string>* log) : name_(name), log_(log) {}
  DcValue Call(DcCall call, std::initializer_list<DcValue> args) override {
    std::string entry = name_ + ":" + DcCallName(call);
    for (DcValue v : args) entry += " " + std::to_string(v);
    if (call != DcCall::kGetCurrentPosition) log_->push_back(entry);
    switch (call) {
      case DcCall::kLineTo:
        x_ = static_cast<int32_t>(args.begin()[0]);
        y_ = static_cast<int32_t>(args.begin()[1]);
        return 1;
      case DcCall::kGetCurrentPosition: {
        auto* p = reinterpret_cast<DcPoint*>(args.begin()[0]);
        *p = DcPoint{x_, y_};
        return 1;
      }
      case DcCall::kSaveDC: return ++saves_;
      case DcCall::kGetViewportExt: *reinterpret_cast<DcSize*>(args.begin()[0]) = DcSize{-300, 300}; return 1;
      case DcCall::kGetWindowExt: *reinterpret_cast<DcSize*>(args.begin()[0]) = DcSize{100, 200}; return 1;
      default: return result;
    }
  }
  bool CopyClipRegionTo(DeviceContext&) override { return clipCopies; }
  void Delete() override { log_->push_back(name_ + ":Delete"); }

  DcValue result = 7;
  bool clipCopies = true;

 private:
  std::string name_;
  std::vector<std::string>* log_;
  int32_t x_ = 0, y_ = 0;
  DcValue saves_ = 0;
};

struct TwoContexts {
  std::vector<std::string> log;
  RecordingContext out{"out", &log}, attr{"attr", &log};
  RwCDC dc;
  TwoContexts() {
    dc.SetOutputDC(&out);
    dc.SetAttribDC(&attr);
    attr.result = 9;
  }
};

TEST(RwCDC, SettersGoToOutputThenAttribute) {
  TwoContexts t;
  EXPECT_EQ(t.dc.SetTextColor(255), 9);  // the attribute context's answer
  t.dc.SetMapMode(1);
  t.dc.IntersectClipRect(DcRect{1, 2, 3, 4});
  EXPECT_EQ(t.log, (std::vector<std::string>{"out:SetTextColor 255", "attr:SetTextColor 255", "out:SetMapMode 1",
                                             "attr:SetMapMode 1", "out:IntersectClipRect 1 2 3 4",
                                             "attr:IntersectClipRect 1 2 3 4"}));
}

TEST(RwCDC, QueriesGoToAttributeAndDrawingToOutput) {
  TwoContexts t;
  t.dc.GetDeviceCaps(88);
  t.dc.TextOut(1, 2, nullptr, 0);
  t.dc.StartPage();
  t.dc.Rectangle(0, 0, 5, 5);
  EXPECT_EQ(t.log, (std::vector<std::string>{"attr:GetDeviceCaps 88", "out:TextOut 1 2 0 0", "out:StartPage",
                                             "out:Rectangle 0 0 5 5"}));
}

TEST(RwCDC, AttributePositionFollowsLineTo) {
  TwoContexts t;
  t.dc.LineTo(40, 60);
  EXPECT_EQ(t.log, (std::vector<std::string>{"out:LineTo 40 60", "attr:MoveTo 40 60 0"}));
  // One context for both: nothing to follow.
  std::vector<std::string> log;
  RecordingContext printer("dc", &log);
  {
    RwCDC one(&printer);
    one.LineTo(1, 1);
    one.SetBkMode(1);
  }
  EXPECT_EQ(log, (std::vector<std::string>{"dc:LineTo 1 1", "dc:SetBkMode 1", "dc:Delete"}));
}

TEST(RwCDC, SaveAndRestoreState) {
  TwoContexts t;
  EXPECT_EQ(t.dc.SaveDC(), -1);
  EXPECT_TRUE(t.dc.RestoreDC(-1));
  t.out.result = 0;
  EXPECT_FALSE(t.dc.RestoreDC(-1));
  std::vector<std::string> log;
  RecordingContext printer("dc", &log);
  RwCDC one;
  one.SetOutputDC(&printer);
  one.SetAttribDC(&printer);
  EXPECT_EQ(one.SaveDC(), 1);
  EXPECT_EQ(one.SaveDC(), 2);
}

TEST(RwCDC, ClipPathAndSizeConversions) {
  TwoContexts t;
  EXPECT_EQ(t.dc.SelectClipPath(5), 7);
  t.out.clipCopies = false;
  EXPECT_EQ(t.dc.SelectClipPath(5), 0);
  const DcSize device = t.dc.LogicalToDeviceSize(DcSize{10, 7});
  EXPECT_EQ(device.cx, 30);
  EXPECT_EQ(device.cy, 11);  // 7 * 300 / 200 = 10.5, rounded
  const DcSize logical = t.dc.DeviceToLogicalSize(DcSize{30, 11});
  EXPECT_EQ(logical.cx, 10);
  EXPECT_EQ(logical.cy, 7);
}

}  // namespace
