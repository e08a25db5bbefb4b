// The process-wide source of skin files: the registered skin archive (bytes
// in memory that stay alive for the process, or a zip file on disk), else
// files relative to the skin path. Single-threaded, like the whole toolkit.
#pragma once

#include <cstddef>
#include <vector>

namespace vt {

// Makes bytes the skin archive. Once an archive in memory is registered,
// further calls change nothing (every window shares the first one). The
// bytes must live for the rest of the process. False when they are no zip.
bool SetSkinArchiveMemory(const void* bytes, size_t len);
// Uses a zip file on disk as the skin archive (replaces a file archive, not
// an archive in memory).
bool SetSkinArchiveFile(const char* path);
bool HasSkinArchive();
bool HasSkinArchiveInMemory();
// Forgets the archive; tests only.
void ResetSkinArchiveForTest();

// Folder for skin files when no archive is registered; a separator is
// appended unless the path ends in '\' or '/'. Empty: names are used as given.
void SetSkinPath(const char* path);
const char* GetSkinPath();

// Reads a skin file by name into out (limit: maxSize bytes). On failure
// returns false and error receives the fixed message of the failure:
// "Error opening file", "File is empty", "File too large", "Could not read
// file" (skin path), "Error opening zip file", "Could not find ziped file",
// "Could not unzip file" (archive).
bool ReadSkinFile(const char* name, size_t maxSize, std::vector<char>& out, const char** error);

// Reads a plain file (a path as given), same limits and messages.
bool ReadPlainFile(const char* path, size_t maxSize, std::vector<char>& out, const char** error);

}  // namespace vt
