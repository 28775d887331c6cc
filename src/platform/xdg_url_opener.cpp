#include "platform/xdg_url_opener.h"

#include "platform/detached_process.h"
#include "platform/executable_search.h"

void XdgUrlOpener::Open(const std::string& address)
{
    const std::string path = FindExecutable("xdg-open", false);
    if (path.empty()) {
        return;
    }
    StartDetached({path, address});
}
