#include "config/ServerSet.h"

namespace vt {

namespace {

// Never destroyed: threads may still read the set while the process exits.
ServerSet& InUse() {
  static ServerSet* set = new ServerSet(ProductionServers());
  return *set;
}

}  // namespace

const ServerSet& Servers() { return InUse(); }

void UseServers(const ServerSet& set) { InUse() = set; }

std::string ServerSetSummary(const ServerSet& set) {
  return "servers: platform " + set.platformServer + ", update key " +
         (set.updatePublicKey.empty() ? "none" : "set") + ", " +
         (set.origin == "compiled-in" ? set.origin : "from " + set.origin);
}

}  // namespace vt
