// The version resource of an executable, as the version check reads it.
#pragma once

#include "model/VersionCompare.h"

// Major and minor of the file version of the running executable; 1.0 when
// the resource cannot be read.
VersionPair OwnFileVersion();
// The same for any file (a path of at most 259 characters).
VersionPair FileVersionOf(const char* path);
