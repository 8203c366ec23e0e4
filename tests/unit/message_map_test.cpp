// The framework's portable parts: the guards of the message map and of reflection
// (what must not reach a handler), and how a list shares its width among its columns.
// Every route the program uses is driven end to end under Wine.
#include "win/message_map.h"
#include "win/column_widths.h"

#include <gtest/gtest.h>

#include <tuple>

namespace tarnwick {
namespace {

constexpr unsigned kDoubleClick = static_cast<unsigned>(-3);    // NM_DBLCLK
constexpr unsigned kColumnClick = static_cast<unsigned>(-108);  // LVN_COLUMNCLICK
unsigned g_unknownRegistered = 0;  // a registered message whose number is not known yet

// A dialog, or a list bound to it, whose handlers answer with their entry's number.
struct Window final : ReflectingControl {
    std::intptr_t calls = 0;  // pointer-sized: GCC checks a call through a member pointer against the object
    template <int entry>
    std::intptr_t Hit(const MessageEvent&) { return ++calls, entry; }
    bool OnReflected(const MessageEvent& event, std::intptr_t& result) override;
};
constexpr MapEntry<Window> kDialogMap[] = {
    {Route::Notify, 1000, kDoubleClick, &Window::Hit<1>},
    {Route::Notify, 1000, 0, &Window::Hit<2>},
    {Route::Command, 1006, 0, &Window::Hit<3>},
    {Route::Registered, 0, 0, &Window::Hit<4>, &g_unknownRegistered},
};
constexpr MapEntry<Window> kListMap[] = {
    {Route::Reflected, 0, kColumnClick, &Window::Hit<1>},
    {Route::Message, kWmContextMenu, 0, &Window::Hit<2>},
};
bool Window::OnReflected(const MessageEvent& event, std::intptr_t& result) {
    return Dispatch<Window>(*this, kListMap, event, result);
}

MessageEvent Notify(unsigned id, unsigned code) {
    static NotifyHeader header;  // read while the event is unpacked
    header = {nullptr, id, code};
    return UnpackMessage(kWmNotify, 0, reinterpret_cast<std::intptr_t>(&header));
}

TEST(MessageMap, OnlyTheFirstMatchRunsAndAControlTakesOnlyItsOwnEvents) {
    // Title; reflected: offered to the bound controls rather than to the dialog's map;
    // the event; the handler that runs (0: none).
    const std::tuple<const char*, bool, MessageEvent, std::intptr_t> cases[] = {
        {"a code's own entry before the any-code entry", false, Notify(1000, kDoubleClick), 1},
        {"another code of the control", false, Notify(1000, static_cast<unsigned>(-101)), 2},
        {"another control", false, Notify(1021, kDoubleClick), 0},
        {"another command", false, UnpackMessage(kWmCommand, 1007, 0), 0},
        {"a registered message whose number is not known", false, UnpackMessage(0, 0, 0), 0},
        {"the list's own header click", true, Notify(1000, kColumnClick), 1},
        {"another code from the list", true, Notify(1000, kDoubleClick), 0},
        {"a bound control without handlers", true, Notify(1021, kColumnClick), 0},
        {"a menu request for that control's window", true, UnpackMessage(kWmContextMenu, 0xB0, -1), 0},
        {"a menu request for no bound window", true, UnpackMessage(kWmContextMenu, 0xC0, 0), 0},
        {"a command with the list's id", true, UnpackMessage(kWmCommand, 1000, 0), 0},
    };
    ReflectingControl plain;
    for (const auto& [title, reflected, event, entry] : cases) {
        SCOPED_TRACE(title);
        Window window;
        const ControlBinding bindings[] = {{1000, 0xA0, &window}, {1021, 0xB0, &plain}};
        std::intptr_t result = 0;
        EXPECT_EQ(reflected ? ReflectToControl(bindings, event, result)
                            : Dispatch<Window>(window, kDialogMap, event, result),
                  entry != 0);
        EXPECT_EQ(result, entry);
        EXPECT_EQ(window.calls, entry != 0);
    }
}

// Needs met first, spare room by factor; short room keeps the fixed values whole, then
// the small needs.
TEST(ColumnWidthsTest, NeedsComeFirstThenTheFactors) {
    const std::tuple<const char*, std::vector<ColumnNeed>, int, std::vector<int>> cases[] = {
        {"room to spare goes by factor", {{1, 10, true}, {3, 10, false}}, 100, {30, 70}},
        {"a column needing more than its share", {{1, 60, true}, {3, 10, true}}, 100, {67, 32}},
        {"short room: the small need stays whole", {{1, 10, true}, {1, 80, true}, {2, 80, true}}, 100, {10, 30, 60}},
        {"short room: fixed values stay whole", {{3, 50, false}, {1, 80, true}, {1, 80, true}}, 100, {50, 25, 25}},
        {"too short even for those", {{1, 90, false}, {1, 90, false}, {2, 10, true}}, 100, {45, 45, 10}},
        {"no room", {{1, 10, true}, {2, 10, false}}, -5, {0, 0}},
        {"exactly enough", {{2, 40, true}, {1, 60, false}}, 100, {40, 60}},
    };
    for (const auto& [title, columns, room, widths] : cases) {
        SCOPED_TRACE(title);
        EXPECT_EQ(ShareColumnWidths(columns, room), widths);
    }
}

}  // namespace
}  // namespace tarnwick
