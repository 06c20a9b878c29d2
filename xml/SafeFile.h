#pragma once
// Reading and writing whole files without trusting the path: a read takes only a regular
// file of bounded size, in one read; a write never follows a link, never replaces what is
// not a regular file and never leaves a half-written file or a temporary file behind.

#include <cstddef>
#include <string>

namespace SafeFile
{
// Far above any design (a large one is well under a megabyte), low enough that a file
// given by mistake cannot exhaust the memory.
constexpr size_t kMaxReadBytes = 64u * 1024u * 1024u;

// Reads the whole file into `content`. Refused, before anything is read, when the path is
// not a regular file (folder, FIFO, device) or is larger than kMaxReadBytes. On failure
// `error` says why ("is not a regular file (a FIFO)", "cannot be opened (...)").
bool ReadRegularFile(const std::string& path, std::string& content, std::string& error);

// Replaces `path` by `content`: written to a fresh temporary file in the same folder
// (exclusive creation, no link followed, a short name), flushed to the disk and renamed
// over the target. A target that exists must be a regular file (a link, folder, FIFO or
// device is refused) and keeps its permission bits; a new file gets the usual mode under
// the umask. On failure the old file is untouched, no temporary file is left and `error`
// says why.
bool WriteFileAtomically(const std::string& path, const std::string& content, std::string& error);
}
