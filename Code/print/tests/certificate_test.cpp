// Certificate pages over the fake: a letter page in landscape (1100 x 850),
// printable (100, 100)-(1000, 750).
#include <gtest/gtest.h>

#include "certificate.h"
#include "fake_surface.h"
#include "page_printer.h"

namespace {

struct Certificate {
  PrintJob job;
  FakeSurface surface{&job};
  Certificate() {
    surface.page = PrintSize{1100, 850};
    ResetPrintLayout(job, surface);
  }
};

TEST(Certificate, LayoutAPlacesNameAndDateAndLeavesItsFont) {
  Certificate c;
  c.job.certValues[2] = "Ann Example";
  c.job.certValues[8] = "3/5/2001";
  EXPECT_EQ(PrintCertificateA(c.job, c.surface), 0);
  ASSERT_EQ(c.surface.stretched.size(), 1u);  // id 404 loaded first
  EXPECT_EQ(c.surface.stretched[0], c.job.printable);
  ASSERT_EQ(c.surface.placed.size(), 2u);
  const PlacedBlock& name = c.surface.placed[0];
  EXPECT_EQ(name.text, "Ann Example");
  EXPECT_EQ(name.align, TextAlign::kCentre);
  EXPECT_EQ(name.rect, (PrintRect{250, 530, 1000, 550}));
  EXPECT_EQ(c.surface.placed[1].rect, (PrintRect{250, 640, 1000, 660}));
  EXPECT_EQ(c.surface.fonts[0].height, -33);  // 24 points
  EXPECT_EQ(c.surface.fonts[0].weight, 700);
  EXPECT_TRUE(c.surface.transparent);
  // After the page the job's font stays bold, centred, built-in, at 20 points.
  EXPECT_EQ(c.job.faceName, "RookwellOnyx");
  EXPECT_EQ(c.job.bold, 1);
  EXPECT_EQ(c.job.justify, 2);
  EXPECT_EQ(c.job.fontSize, 20);
}

TEST(Certificate, LayoutBBandsAndItsLastSize) {
  Certificate c;
  c.surface.background = true;
  c.job.certValues[11] = "1850";
  EXPECT_EQ(PrintCertificateB(c.job, c.surface), 0);
  ASSERT_EQ(c.surface.placed.size(), 3u);
  EXPECT_EQ(c.surface.placed[0].rect, (PrintRect{265, 340, 760, 360}));
  EXPECT_EQ(c.surface.placed[1].text, "1850");
  EXPECT_EQ(c.surface.placed[1].rect, (PrintRect{265, 455, 770, 475}));
  EXPECT_EQ(c.surface.placed[2].rect, (PrintRect{295, 615, 660, 635}));
  EXPECT_EQ(c.job.fontSize, 24);
}

TEST(Certificate, LongNameWrapsBelowItsBandTop) {
  Certificate c;
  c.surface.background = true;
  c.job.certValues[2] = "Alexandra Bartholomew Constantinopoulos-Featherstonehaugh the Third";
  PrintCertificateB(c.job, c.surface);
  const PlacedBlock& name = c.surface.placed[0];
  EXPECT_EQ(name.rect.top, 340);
  EXPECT_GE(name.rect.Height(), 2 * FakeSurface::kCharHeight);
}

TEST(Certificate, MissingBackgroundGivesTheFrame) {
  Certificate c;
  c.job = PrintJob(PrintLanguage::kGerman);
  ResetPrintLayout(c.job, c.surface);
  PrintCertificateA(c.job, c.surface);
  ASSERT_EQ(c.surface.messages.size(), 1u);
  EXPECT_EQ(c.surface.messages[0], "Certificate Background Creation Failed");
  ASSERT_EQ(c.surface.frames.size(), 1u);
  EXPECT_EQ(c.surface.frames[0], c.job.printable);
  EXPECT_TRUE(c.surface.stretched.empty());
  // Layout B does not load one.
  Certificate b;
  PrintCertificateB(b.job, b.surface);
  EXPECT_TRUE(b.surface.messages.empty());
  EXPECT_EQ(b.surface.frames.size(), 1u);
}

TEST(Certificate, LaterMarkupStartsWithTheCertificateFont) {
  Certificate c;
  c.surface.background = true;
  PrintCertificateA(c.job, c.surface);
  c.job.SetMarkup("text", true);
  PrintAllMarkupPages(c.job, c.surface);
  EXPECT_EQ(c.surface.placed.back().align, TextAlign::kCentre);
  EXPECT_EQ(c.surface.fonts.back().height, -(100 * 20 / 72));
}

TEST(TestPage, OneLineAtTheTopLeftCorner) {
  Certificate c;
  EXPECT_EQ(PrintTestPage(c.job, c.surface), 0);
  ASSERT_EQ(c.surface.placed.size(), 1u);
  EXPECT_EQ(c.surface.placed[0].text, kTestPageLine);
  EXPECT_EQ(c.surface.placed[0].rect.left, 0);
  EXPECT_EQ(c.surface.placed[0].rect.top, 0);
}

}  // namespace
