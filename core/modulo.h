// The library's own lifetime, as module state torn down by static objects needs to know it.
#pragma once

namespace pelmaro {

// True while the library is detached because the process is ending (not unloaded by
// FreeLibrary): the system then takes back windows and every other object by itself, and
// teardown must leave other libraries alone.
bool ProcesoTerminando();

}  // namespace pelmaro
