// A folder of its own under the user's temporary folder for one test,
// emptied of the files an earlier run left.
#pragma once

#include <string>

namespace wintest {

// %TEMP%\<name>, created when missing and emptied of its files.
std::string EmptyTempFolder(const std::string& name);

}  // namespace wintest
