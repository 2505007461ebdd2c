#pragma once
#include "util/Exception.h"

// A document file that cannot be found or read.
QUILLON_DECLARE_ERROR(EInOutError);
// A frame-set viewer load that failed.
QUILLON_DECLARE_ERROR(EfvLoadError);
// Printer state errors ("Printing in progress", ...).
QUILLON_DECLARE_ERROR(EPrinter);
// A load the user stopped (Escape) before the document was built; the
// document shown before stays.
QUILLON_DECLARE_ERROR(ELoadCancelled);
