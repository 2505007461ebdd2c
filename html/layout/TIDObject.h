#pragma once
// Anything that can be entered under an ID or anchor name: a character position
// registered by the reader, or a section or form control registered by layout.
class TIDObject {
public:
    virtual ~TIDObject() = default;
    // The Y position to scroll to for this target.
    virtual int YPosition() const = 0;
};
