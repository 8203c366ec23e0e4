#include "win/message_map.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

namespace tarnwick {
namespace {

unsigned g_taskbarCreated = 0;

struct Recorder {
    std::vector<std::string> calls;
    std::intptr_t OnTimer(const MessageEvent& e) { return record("timer " + std::to_string(e.wParam)); }
    std::intptr_t OnSave(const MessageEvent&) { return record("save"); }
    std::intptr_t OnAnyFromList(const MessageEvent& e) { return record("list " + std::to_string(e.code)); }
    std::intptr_t OnDoubleClick(const MessageEvent&) { return record("double"); }
    std::intptr_t OnTaskbar(const MessageEvent&) { return record("taskbar"); }
    std::intptr_t record(std::string what) {
        calls.push_back(std::move(what));
        return static_cast<std::intptr_t>(calls.size());
    }
};

constexpr unsigned kDoubleClick = static_cast<unsigned>(-3);  // NM_DBLCLK
constexpr std::array<MapEntry<Recorder>, 5> kMap{{
    {Route::Message, 0x0113, 0, &Recorder::OnTimer},
    {Route::Command, 1006, 0, &Recorder::OnSave},
    {Route::Notify, 1000, kDoubleClick, &Recorder::OnDoubleClick},
    {Route::Notify, 1000, 0, &Recorder::OnAnyFromList},
    {Route::Registered, 0, 0, &Recorder::OnTaskbar, &g_taskbarCreated},
}};

TEST(MessageMap, FirstMatchWinsAndUnmatchedFallThrough) {
    Recorder recorder;
    std::intptr_t result = 0;
    NotifyHeader doubleClick{nullptr, 1000, kDoubleClick};
    NotifyHeader changed{nullptr, 1000, static_cast<unsigned>(-101)};  // LVN_ITEMCHANGED
    NotifyHeader other{nullptr, 1021, kDoubleClick};
    EXPECT_TRUE(Dispatch<Recorder>(recorder, kMap, UnpackMessage(0x0113, 1, 0), result));
    EXPECT_TRUE(Dispatch<Recorder>(recorder, kMap, UnpackMessage(kWmCommand, 1006, 0), result));
    EXPECT_TRUE(Dispatch<Recorder>(recorder, kMap, UnpackMessage(kWmNotify, 0, reinterpret_cast<std::intptr_t>(&doubleClick)), result));
    EXPECT_TRUE(Dispatch<Recorder>(recorder, kMap, UnpackMessage(kWmNotify, 0, reinterpret_cast<std::intptr_t>(&changed)), result));
    EXPECT_EQ(result, 4);
    EXPECT_FALSE(Dispatch<Recorder>(recorder, kMap, UnpackMessage(kWmNotify, 0, reinterpret_cast<std::intptr_t>(&other)), result));
    EXPECT_FALSE(Dispatch<Recorder>(recorder, kMap, UnpackMessage(kWmCommand, 1007, 0), result));
    // A registered message matches only once its number is known.
    EXPECT_FALSE(Dispatch<Recorder>(recorder, kMap, UnpackMessage(0, 0, 0), result));
    g_taskbarCreated = 0xC123;
    EXPECT_TRUE(Dispatch<Recorder>(recorder, kMap, UnpackMessage(0xC123, 0, 0), result));
    EXPECT_EQ(recorder.calls, (std::vector<std::string>{"timer 1", "save", "double", "list " + std::to_string(changed.code), "taskbar"}));
}

struct ReflectedList final : ReflectingControl {
    std::vector<std::string> calls;
    std::intptr_t OnColumnClick(const MessageEvent& e) {
        calls.push_back("column " + std::to_string(e.id));
        return 0;
    }
    std::intptr_t OnContextMenu(const MessageEvent&) {
        calls.push_back("menu");
        return 1;
    }
    static constexpr unsigned kColumnClick = static_cast<unsigned>(-108);  // LVN_COLUMNCLICK
    static constexpr std::array<MapEntry<ReflectedList>, 2> kOwnMap{{
        {Route::Reflected, 0, kColumnClick, &ReflectedList::OnColumnClick},
        {Route::Message, kWmContextMenu, 0, &ReflectedList::OnContextMenu},
    }};
    bool OnReflected(const MessageEvent& event, std::intptr_t& result) override {
        return Dispatch<ReflectedList>(*this, kOwnMap, event, result);
    }
};

TEST(MessageMap, ControlsTakeTheirOwnNotificationsFirst) {
    ReflectedList list;
    ReflectingControl plain;  // a bound control without handlers of its own
    const ControlBinding bindings[] = {{1000, 0xA0, &list}, {1021, 0xB0, &plain}};
    std::intptr_t result = -1;
    NotifyHeader click{nullptr, 1000, ReflectedList::kColumnClick};
    NotifyHeader otherCode{nullptr, 1000, kDoubleClick};
    NotifyHeader otherControl{nullptr, 1021, ReflectedList::kColumnClick};
    EXPECT_TRUE(ReflectToControl(bindings, UnpackMessage(kWmNotify, 0, reinterpret_cast<std::intptr_t>(&click)), result));
    EXPECT_EQ(result, 0);
    // Everything else reaches the dialog's map.
    EXPECT_FALSE(ReflectToControl(bindings, UnpackMessage(kWmNotify, 0, reinterpret_cast<std::intptr_t>(&otherCode)), result));
    EXPECT_FALSE(ReflectToControl(bindings, UnpackMessage(kWmNotify, 0, reinterpret_cast<std::intptr_t>(&otherControl)), result));
    EXPECT_FALSE(ReflectToControl(bindings, UnpackMessage(kWmContextMenu, 0xB0, -1), result));
    EXPECT_FALSE(ReflectToControl(bindings, UnpackMessage(kWmCommand, 1003, 0), result));
    // A context menu request is the control's when it names the control's window.
    EXPECT_TRUE(ReflectToControl(bindings, UnpackMessage(kWmContextMenu, 0xA0, -1), result));
    EXPECT_EQ(result, 1);
    EXPECT_FALSE(ReflectToControl(bindings, UnpackMessage(kWmContextMenu, 0xC0, 0), result));
    EXPECT_EQ(list.calls, (std::vector<std::string>{"column 1000", "menu"}));
}

}  // namespace
}  // namespace tarnwick
