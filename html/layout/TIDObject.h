#pragma once
// Anything that can be entered under an ID or anchor name: it answers the Y
// to scroll to.
class TIDObject {
public:
    virtual ~TIDObject() = default;
    virtual int AnchorY() const = 0;
};
