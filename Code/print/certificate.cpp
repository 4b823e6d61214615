// Certificate pages.

#include "certificate.h"

#include "print_layout.h"

const CertificateBand kCertificateBandsA[2] = {
    {2, 24, 430, 150, 0, 0},
    {8, 20, 540, 150, 0, 0},
};

const CertificateBand kCertificateBandsB[3] = {
    {2, 36, 240, 165, 230, 240},
    {11, 36, 355, 165, 240, 230},
    {8, 24, 515, 195, 340, 340},
};

namespace {

void StartCertificatePage(PrintJob& job, PrintSurface& surface, bool loadIfNone) {
  if (loadIfNone && !surface.HasBackground()) surface.LoadBackground();
  if (surface.HasBackground()) {
    surface.StretchBackground(job.printable);
  } else {
    surface.FrameRect(job.printable);
  }
  surface.SetTransparentMode();
  job.faceName = job.builtinFace;
  job.bold = 1;
  job.underline = 0;
  job.justify = static_cast<int32_t>(TextAlign::kCentre);
}

// `insetPpi`: layout B measures its right insets with the vertical resolution.
void PlaceValue(PrintJob& job, PrintSurface& surface, const CertificateBand& band, int64_t insetPpi) {
  job.fontSize = band.points;
  if (SelectJobFont(job, surface) != FontResult::kSelected) surface.ShowMessage("Cannot load font, Using Default");
  const int64_t ppx = surface.PixelsPerInchX(), ppy = surface.PixelsPerInchY();
  const std::string& text = job.certValues[band.value];
  const int32_t length = static_cast<int32_t>(text.size());
  PrintRect rect;
  rect.top = static_cast<int32_t>(job.printable.top + ppy * band.top / 100);
  rect.left = static_cast<int32_t>(job.printable.left + ppx * band.left / 100);
  rect.right = static_cast<int32_t>(job.printable.right - insetPpi * band.rightInsetMeasured / 100);
  rect.bottom = rect.top;
  const PrintRect measured = surface.MeasureText(text.data(), length, rect, TextAlign::kCentre);
  rect.right = static_cast<int32_t>(job.printable.right - insetPpi * band.rightInsetDrawn / 100);
  rect.bottom = rect.top + measured.Height();
  surface.DrawText(text.data(), length, rect, TextAlign::kCentre);
}

}  // namespace

int32_t PrintCertificateA(PrintJob& job, PrintSurface& surface) {
  StartCertificatePage(job, surface, true);
  for (const CertificateBand& band : kCertificateBandsA) PlaceValue(job, surface, band, surface.PixelsPerInchX());
  return 0;
}

int32_t PrintCertificateB(PrintJob& job, PrintSurface& surface) {
  StartCertificatePage(job, surface, false);
  for (const CertificateBand& band : kCertificateBandsB) PlaceValue(job, surface, band, surface.PixelsPerInchY());
  return 0;
}
