// qvs-proxy: the program a browser starts for the extension that fills
// logins. It passes messages between the browser and the running QVS.
#include "proxy/host.h"
#include "proxy/runtime_socket.h"

#include <unistd.h>

int main() {
    // The browser adds the manifest's path and the extension's origin as
    // arguments; neither changes what we do.
    return qvs::proxy::RunHost(STDIN_FILENO, STDOUT_FILENO, qvs::proxy::BrowserSocketPath());
}
