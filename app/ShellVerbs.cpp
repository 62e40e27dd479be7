#include "app/ShellVerbs.h"

namespace brx {

void RegisterVerbs() {}

void UnregisterVerbs() {}

} // namespace brx
