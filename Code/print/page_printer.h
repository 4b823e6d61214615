// The page printers of the text documents: the markup page (kind 2) and the
// test page.
//
// Interface: PrintMarkupPage, PrintTestPage, kTestPageLine.
#pragma once

#include <cstdint>

#include "print_job.h"
#include "print_surface.h"

constexpr const char* kTestPageLine = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";

// Lays out markup blocks on one page, column by column; 1 when another page
// follows, 0 after the last block.
int32_t PrintMarkupPage(PrintJob& job, PrintSurface& surface);

// The single line at the page's top left corner; always 0.
int32_t PrintTestPage(PrintJob& job, PrintSurface& surface);
