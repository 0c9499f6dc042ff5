#include "store/io/process_guard.h"

#include <sys/prctl.h>
#include <sys/resource.h>

namespace ardeko {

void KeepSecretsOutOfDumps() {
    // Neither can fail for an ordinary process; if one did, there is
    // nothing better to do than to go on.
    prctl(PR_SET_DUMPABLE, 0, 0, 0, 0);
    const rlimit none{0, 0};
    setrlimit(RLIMIT_CORE, &none);
}

} // namespace ardeko
