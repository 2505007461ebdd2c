#pragma once
#include "util/Exception.h"

// The reader met input it cannot go on with: a comment or declaration still open
// at the end ("Open Comment at End of HTML File") or control bytes where a symbol
// must start ("Not an HTML or Text document").
QUILLON_DECLARE_ERROR(EParseError);

inline constexpr const char* OpenCommentMessage = "Open Comment at End of HTML File";
inline constexpr const char* NotHtmlMessage = "Not an HTML or Text document";
