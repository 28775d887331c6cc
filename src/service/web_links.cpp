// placeholder: replaced by the service implementation
#include "service/web_links.h"
std::string SiteBase(const std::string& serviceHost) { return "http://" + serviceHost; }
void OpenSitePage(UrlOpener&, const std::string&, const std::string&) {}
