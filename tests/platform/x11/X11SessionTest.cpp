#include "platform/x11/X11Session.h"

#include <gtest/gtest.h>

using pellix::x11::requestedDisplay;

namespace {

QByteArrayList args(std::initializer_list<const char*> items) {
    QByteArrayList list{"pellix"};
    for (const char* item : items) {
        list << QByteArray(item);
    }
    return list;
}

} // namespace

TEST(RequestedDisplay, TheVariablesDecideWhenNoArgumentIsGiven) {
    const auto plain = requestedDisplay(args({}), "", ":3");
    EXPECT_TRUE(plain.x11);
    EXPECT_EQ(plain.name, ":3");

    EXPECT_TRUE(requestedDisplay(args({}), "xcb", ":3").x11);
    EXPECT_TRUE(requestedDisplay(args({}), "xcb:nograb", ":3").x11);
    EXPECT_TRUE(requestedDisplay(args({}), "xcb;wayland", ":3").x11);
    EXPECT_FALSE(requestedDisplay(args({}), "offscreen", ":3").x11);
    EXPECT_FALSE(requestedDisplay(args({}), "wayland;xcb", ":3").x11);
    EXPECT_TRUE(requestedDisplay(args({}), "", "").name.isEmpty());
}

TEST(RequestedDisplay, ArgumentsWinOverTheVariablesWithOneDashOrTwo) {
    const auto display = requestedDisplay(args({"-display", "remote:1"}), "", ":3");
    EXPECT_EQ(display.name, "remote:1");
    EXPECT_EQ(requestedDisplay(args({"--display", ":7"}), "", "").name, ":7");

    EXPECT_FALSE(requestedDisplay(args({"-platform", "offscreen"}), "xcb", ":3").x11);
    EXPECT_TRUE(requestedDisplay(args({"--platform", "xcb"}), "offscreen", ":3").x11);
}

TEST(RequestedDisplay, AnOptionWithoutItsValueAndTheProgramNameAreNotRead) {
    // Qt ignores a trailing option that lacks its value; so must we.
    EXPECT_EQ(requestedDisplay(args({"-display"}), "", ":3").name, ":3");
    EXPECT_TRUE(requestedDisplay(args({"-platform"}), "", ":3").x11);
    const QByteArrayList named{"-display", ":9"};
    EXPECT_EQ(requestedDisplay(named, "", ":3").name, ":3");
}
