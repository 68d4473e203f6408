// The in-memory ring of saved parameter sets behind Save, Load and Clear.
#pragma once

#include <string>

#include "model/Module1.h"

namespace quorvex::model {

// Pushes the current parameter set on the front of StoreStack.
void StoreState(Module1& m);
// Copies record StoreIndex back into the state and advances StoreIndex in the
// ring. Returns false (nothing done) when nothing is stored.
bool RestoreRecord(Module1& m);
// Empties the store (the records stay, unreachable).
void ClearStore(Module1& m);
// "Load (i/n)".
std::string LoadCaption(const Module1& m);

}  // namespace quorvex::model
