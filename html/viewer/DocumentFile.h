#pragma once
// Reading a document file whole, for the viewers and quillon-render: only a
// regular file is read (a FIFO would block), a file larger than
// MaxDocumentBytes is refused before it is read, and a long read lets the
// caller keep its window alive between pieces.
#include <cstdint>
#include <functional>
#include <string>

// Generated pages of 50 MB (logs, dumps, concatenated manuals) must open.
// Building a document takes about five (plain prose) to fifteen (dense
// markup) times its size in memory and seconds per hundred MB, so a page at
// this limit stays well below a gigabyte or two and within half a minute;
// larger files could take the whole machine, so they are refused with a
// message that gives both sizes.
constexpr std::int64_t MaxDocumentBytes = std::int64_t(64) << 20; // 64 MB

// "<name> is too large to show: 1024.0 MB (the reader shows documents of up to 64 MB)"
std::string DocumentTooLargeMessage(const std::string& name, std::int64_t bytes);

// Reads the file whole. Raises EInOutError "Can't locate file: " + shownName
// when it is missing, not a regular file or unreadable, and EInOutError with
// DocumentTooLargeMessage above MaxDocumentBytes. betweenPieces, when set,
// runs after every piece of a long read with the bytes read and the size.
std::string ReadDocumentFile(const std::string& path, const std::string& shownName,
                             const std::function<void(std::int64_t, std::int64_t)>& betweenPieces = {});
