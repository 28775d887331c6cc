#include "service/web_links.h"

std::string SiteBase(const std::string& serviceHost) { return "http://" + serviceHost; }

// Whatever the browser makes of the address is its own affair: nothing is
// read back and nothing here changes.
void OpenSitePage(UrlOpener& opener, const std::string& serviceHost, const std::string& path)
{
    opener.Open(SiteBase(serviceHost) + path);
}
