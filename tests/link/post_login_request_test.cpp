#include "link/post_login_request.h"

#include <gtest/gtest.h>

#include "fake_transport.h"
#include "link/form_encoding.h"

namespace {

TEST(PostLoginRequest, PostsTheFormBodyToTheUrlAndReturnsTheReply) {
    FakeTransportScript script;
    script.Reply("1.2.3.4\r\n");
    const auto transport = script.Factory()();
    EXPECT_EQ(PostLoginRequest(*transport, "http://h/lo.php?user=u"), "1.2.3.4\r\n");
    ASSERT_EQ(script.Posts().size(), 1u);
    EXPECT_EQ(script.Posts()[0].url, "http://h/lo.php?user=u");
    EXPECT_EQ(script.Posts()[0].body, "name=Form1");
}

TEST(FormEncodeValue, KeepsLettersAndDigitsEncodesTheRest) {
    EXPECT_EQ(FormEncodeValue("Form1"), "Form1");
    EXPECT_EQ(FormEncodeValue("a b&c=d\xe5~"), "a+b%26c%3Dd%E5%7E");
}

}  // namespace
