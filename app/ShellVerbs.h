#pragma once
// The file-manager verbs and the ".zip" association. Registration and its
// undoing are filled in with the class-root key store; for now they do nothing.

namespace brx {

void RegisterVerbs();
void UnregisterVerbs();

} // namespace brx
