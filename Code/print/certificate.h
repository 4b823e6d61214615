// The two rating-certificate pages: the background (or a frame), then the
// name, date and rating centred in bands measured from the printable edges.
//
// Interface: PrintCertificateA, PrintCertificateB, CertificateBand,
// kCertificateBandsA, kCertificateBandsB.
#pragma once

#include <cstdint>

#include "print_job.h"
#include "print_surface.h"

// A value's band, in hundredths of an inch from the printable rectangle's
// top, left and right edges.
struct CertificateBand {
  int32_t value;  // certificate value index
  int32_t points;
  int32_t top, left;
  int32_t rightInsetMeasured, rightInsetDrawn;
};

extern const CertificateBand kCertificateBandsA[2];
extern const CertificateBand kCertificateBandsB[3];

// Layout A loads the job's background first when none is loaded; layout B
// draws what is loaded. Both print one page (0).
int32_t PrintCertificateA(PrintJob& job, PrintSurface& surface);
int32_t PrintCertificateB(PrintJob& job, PrintSurface& surface);
