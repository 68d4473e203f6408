// Placeholder until the store lands.
#include "model/Store.h"
namespace quorvex::model {
void StoreState(Module1&) {}
bool RestoreRecord(Module1&) { return false; }
void ClearStore(Module1& m) { m.StoreIndex = 0; m.StoreCount = 0; }
std::string LoadCaption(const Module1& m) { return "Load (" + std::to_string(m.StoreIndex) + "/" + std::to_string(m.StoreCount) + ")"; }
}
