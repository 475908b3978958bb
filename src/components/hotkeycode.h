#pragma once

// The stored form of the activation hot key: -1 for none, otherwise
// modifier index * 1000 + Windows virtual-key code of the standard key.
class HotKeyCode
{
public:
    static constexpr int None = -1;

    // The modifier set a hot key is registered with.
    enum class Modifier
    {
        Win,      // index 0 and every index the options dialog does not offer
        CtrlAlt,  // index 1
        CtrlShift // index 2
    };

    constexpr explicit HotKeyCode(int value = None) : m_value(value) {}

    static constexpr HotKeyCode compose(int modifierIndex, int virtualKey)
    {
        return HotKeyCode(modifierIndex * 1000 + virtualKey);
    }

    constexpr int value() const { return m_value; }

    // Every negative value (-1, or what a half-typed modifier would give) means no hot key.
    constexpr bool isNone() const { return m_value < 0; }

    constexpr int modifierIndex() const { return m_value / 1000; }
    constexpr int virtualKey() const { return m_value % 1000; }

    constexpr Modifier modifier() const
    {
        switch (modifierIndex()) {
        case 1:
            return Modifier::CtrlAlt;
        case 2:
            return Modifier::CtrlShift;
        default:
            return Modifier::Win;
        }
    }

private:
    int m_value;
};
