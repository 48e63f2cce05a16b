// The hot and pressed state of the shell's picture buttons, apart from the
// widget so that it can be tested without a display. A button is hot while the
// mouse is over it. While the mouse button is held the widget may not hear
// that the cursor left, so a press also asks for the shared hover timer; on
// each tick the button checks whether the widget under the cursor is still
// itself, and when it is not, the hot mark goes, the timer stops for it and
// it repaints.
#pragma once

class ButtonHotRules {
public:
    // The hover timer's period.
    static constexpr int kHoverTickMs = 200;

    bool IsHot() const { return m_hot; }
    bool IsPressed() const { return m_pressed; }
    bool IsWatched() const { return m_watched; }

    // Each returns true when the look changed (the button must repaint).
    bool MouseEntered();
    bool MouseLeft();
    // The press also starts the watch: the caller adds the button to the
    // shared hover timer (which starts when it is not running).
    bool Press();
    // Released over the button it stays hot; released elsewhere it is not.
    bool Release(bool overButton);
    // One tick of the hover timer while watched. When the cursor is over
    // another widget the hot mark is cleared and the watch ends (IsWatched()
    // false: the caller takes the button off the timer).
    bool Tick(bool cursorOverButton);

private:
    bool m_hot = false;
    bool m_pressed = false;
    bool m_watched = false;
};
