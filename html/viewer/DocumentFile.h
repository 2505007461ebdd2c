#pragma once
// Reading a document file whole, for the viewers and quillon-render: only a
// regular file is read (a FIFO would block), a file larger than
// MaxDocumentBytes is refused before it is read, and a long read lets the
// caller keep its window alive between pieces.
#include <cstdint>
#include <functional>
#include <string>

// Generated pages of 50 MB (logs, dumps, concatenated manuals) must open.
// Shown, a page takes about four times its size in memory when it is prose
// in paragraphs, about ten times as dense markup, and up to twenty-five
// times as one endless paragraph (measured: 50 MB of words 210 MB, 8 MB of
// manual 100 MB, a 10 MB paragraph 260 MB), so at this limit even the worst
// kind stays below 2 GB. Larger files could take the whole machine, so they
// are refused with a message that gives both sizes.
constexpr std::int64_t MaxDocumentBytes = std::int64_t(64) << 20; // 64 MB

// "<name> is too large to show: 1024.0 MB (the reader shows documents of up to 64 MB)"
std::string DocumentTooLargeMessage(const std::string& name, std::int64_t bytes);

// Reads the file whole. Raises EInOutError "Can't locate file: " + shownName
// when it is missing, not a regular file or unreadable, and EInOutError with
// DocumentTooLargeMessage above MaxDocumentBytes. betweenPieces, when set,
// runs after every piece of a long read with the bytes read and the size.
std::string ReadDocumentFile(const std::string& path, const std::string& shownName,
                             const std::function<void(std::int64_t, std::int64_t)>& betweenPieces = {});
