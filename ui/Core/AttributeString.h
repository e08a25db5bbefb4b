// Attribute strings: name="value" pairs separated by exactly one space, as
// the builder's "Default" lists and run-time row building use them.
#pragma once

#include <cstddef>

namespace vt {

// Calls apply(name, value) for each well-formed pair in order. Processing
// stops silently at the first malformed pair (missing '=', missing opening
// or closing '"', a separator other than exactly one space), keeping the
// pairs already applied. Names are not trimmed; entities are not decoded.
// Returns the number of pairs applied.
using AttributeSink = void (*)(void* context, const char* name, const char* value);
size_t ForEachAttribute(const char* text, AttributeSink apply, void* context);

}  // namespace vt
