#include "service/web_links.h"

#include <ostream>
#include <string>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "recording_url_opener.h"

namespace {

using ::testing::ElementsAre;

struct PageCase {
    std::string name;
    std::string host;
    std::string path;
    std::string expectedAddress;
};

void PrintTo(const PageCase& row, std::ostream* os) { *os << row.name; }

class OpenSitePageTest : public ::testing::TestWithParam<PageCase> {};

TEST_P(OpenSitePageTest, OpensExactlyItsAddressOnce)
{
    RecordingUrlOpener opener;
    OpenSitePage(opener, GetParam().host, GetParam().path);
    EXPECT_THAT(opener.addresses, ElementsAre(GetParam().expectedAddress));
}

// The home page is the site base itself: it ends with the host, no "/" after.
// A host may carry a port; it is kept as given.
INSTANTIATE_TEST_SUITE_P(
    Pages, OpenSitePageTest,
    ::testing::Values(PageCase{"Home", "tarnwick.example", "", "http://tarnwick.example"},
                      PageCase{"Help", "tarnwick.example", "/help.php", "http://tarnwick.example/help.php"},
                      PageCase{"About", "tarnwick.example", "/about.php", "http://tarnwick.example/about.php"},
                      PageCase{"Download", "tarnwick.example", "/down.php", "http://tarnwick.example/down.php"},
                      PageCase{"Registration", "tarnwick.example", "/reg.php", "http://tarnwick.example/reg.php"},
                      PageCase{"HomeWithPort", "127.0.0.1:8080", "", "http://127.0.0.1:8080"},
                      PageCase{"HelpWithPort", "127.0.0.1:8080", "/help.php", "http://127.0.0.1:8080/help.php"}),
    [](const ::testing::TestParamInfo<PageCase>& row) { return row.param.name; });

TEST(SiteBaseTest, IsSchemeAndHostWithNoClosingSlash)
{
    EXPECT_EQ(SiteBase("tarnwick.example"), "http://tarnwick.example");
    EXPECT_EQ(SiteBase("127.0.0.1:8080"), "http://127.0.0.1:8080");
}

} // namespace
