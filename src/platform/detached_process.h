#pragma once

#include <string>
#include <vector>

// Starts argv[0] (a path, as for execve: no search) with the arguments argv,
// fully detached: standard streams on /dev/null, a session of its own and so
// no controlling terminal, default signal dispositions and an empty signal
// mask, no descriptor of ours other than the three streams, the caller's
// current directory and environment. The call does not wait for the program
// and leaves no child behind (the program is re-parented away from us), so no
// zombie is ever left. Failures are silent: nothing reports whether it ran.
void StartDetached(const std::vector<std::string>& argv);
