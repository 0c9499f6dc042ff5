// QVS's end of the browsers' connection: the socket qvs-proxy reaches,
// listening while a browser is turned on in the options, with the requests
// that answer the extension.
#pragma once

#include "browser/browser_requests.h"
#include "browser/browser_server.h"

#include <memory>

namespace qvs {

class BrowserLink {
public:
    BrowserLink();
    ~BrowserLink();
    BrowserLink(const BrowserLink&) = delete;
    BrowserLink& operator=(const BrowserLink&) = delete;

    // Listens when a browser is turned on, stops when none is.
    void FollowOptions();

private:
    std::unique_ptr<browser::Requests> requests_;
    browser::BrowserServer server_;
};

} // namespace qvs
