// Comparing the program's own version with the one the platform publishes.
#pragma once

#include <string>
#include <vector>

struct VersionPair {
  int major = 1;  // kept when the version resource cannot be read
  int minor = 0;
};

// Pieces of text split at '.', as C strtok splits: runs of dots are one
// separator and no piece is empty. Only the first 1023 bytes take part.
std::vector<std::string> SplitDotted(const char* text);

// True when the document's version (its first two numbers, read with atoi)
// is newer than own. The two numbers are compared independently, so 1.30
// counts as newer than 2.21 while 2.5 does not: the platform's published
// versions have always relied on this reading.
bool IsNewerVersion(const VersionPair& own, const char* documentVersion);
