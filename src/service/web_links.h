#pragma once

#include <string>

#include "platform/url_opener.h"

// "http://" + serviceHost, with no closing "/".
std::string SiteBase(const std::string& serviceHost);

// Opens SiteBase(serviceHost) + path ("" for the home page) in the browser.
void OpenSitePage(UrlOpener& opener, const std::string& serviceHost, const std::string& path);
