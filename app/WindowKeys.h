#pragma once

#include <functional>

class Form1;
class Keyboard;
class LayoutAwareKeys;

// Passes the game window's key presses and releases to a keyboard, by
// their codes in the current layout, and then calls changed.
void FeedKeys(Form1& window, LayoutAwareKeys& keys, Keyboard& keyboard, std::function<void()> changed);
